#pragma once

// Checks that the add-on families share beyond the conformance frame, each run
// on add-ons made by `create` (a fresh one per call, with the family's
// settings already applied).

#include "engine/chain/audio_processor.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <limits>
#include <memory>

using AddonFactory = std::function<std::unique_ptr<IAudioProcessor>()>;

// The buffer after a fresh add-on processed it under a context of `contextRate`.
inline AudioBuffer ProcessedAtContextRate(const AddonFactory& create, AudioBuffer buffer,
                                          int contextRate)
{
    const std::unique_ptr<IAudioProcessor> addon = create();
    EXPECT_NE(addon, nullptr);
    if (addon != nullptr)
    {
        ProcessContext context;
        context.sampleRate = contextRate;
        addon->process(buffer, context);
    }
    return buffer;
}

// A value that is not finite (NaN, +inf, -inf) in the middle of `clean`
// enters the add-on's filters and followers and may spoil what comes after
// it, but nothing before it changes and the call ends with every value in
// place.
inline void ExpectANonFiniteSampleChangesNothingBeforeIt(const AddonFactory& create,
                                                         const AudioBuffer& clean)
{
    const double inf = std::numeric_limits<double>::infinity();
    const AudioBuffer cleanOutput = ProcessedAtContextRate(create, clean, clean.sampleRate);
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), inf, -inf})
    {
        AudioBuffer input = clean;
        const std::size_t badIndex = input.samples.size() / 2 + 1;
        input.samples[badIndex] = bad;
        const AudioBuffer output = ProcessedAtContextRate(create, input, clean.sampleRate);
        ASSERT_EQ(output.samples.size(), input.samples.size()) << bad;
        for (std::size_t i = 0; i + 1 < badIndex; ++i)
        {
            ASSERT_EQ(output.samples[i], cleanOutput.samples[i]) << bad << " at value " << i;
        }
    }
}

// Every parameter at its minimum, then every one at its maximum, over `input`
// at its own rate: the output stays finite.
inline void ExpectFiniteWithEveryParameterAtItsExtremes(const AddonFactory& create,
                                                        const AudioBuffer& input)
{
    for (bool atMaximum : {false, true})
    {
        AudioBuffer buffer = input;
        const std::unique_ptr<IAudioProcessor> addon = create();
        ASSERT_NE(addon, nullptr);
        for (const AddonParamSpec& spec : addon->parameters())
        {
            addon->setParameter(spec.id, atMaximum ? spec.maxValue : spec.minValue);
        }
        ProcessContext context;
        context.sampleRate = input.sampleRate;
        addon->process(buffer, context);
        EXPECT_TRUE(AllFinite(buffer)) << input.sampleRate << " Hz, every parameter at its "
                                       << (atMaximum ? "maximum" : "minimum");
    }
}

// States that are members carry on from one call to the next, so a track
// processed in two halves by one object equals it processed at once; states
// that are locals start again at rest in every call, so the second half comes
// out as a fresh object makes it.
inline void ExpectStatesWhereTheyBelong(const AddonFactory& create, const AudioBuffer& whole,
                                        bool keepsStateBetweenCalls)
{
    const std::size_t half = whole.samples.size() / 4 * 2; // whole frames
    AudioBuffer first = whole;
    first.samples.resize(half);
    AudioBuffer second = whole;
    second.samples.erase(second.samples.begin(), second.samples.begin() + half);
    const AudioBuffer secondInput = second;

    const std::unique_ptr<IAudioProcessor> addon = create();
    ASSERT_NE(addon, nullptr);
    ProcessContext context;
    context.sampleRate = whole.sampleRate;
    addon->process(first, context);
    addon->process(second, context);
    first.samples.insert(first.samples.end(), second.samples.begin(), second.samples.end());

    if (keepsStateBetweenCalls)
    {
        EXPECT_TRUE(first.samples ==
                    ProcessedAtContextRate(create, whole, whole.sampleRate).samples);
    }
    else
    {
        const AudioBuffer secondFresh =
            ProcessedAtContextRate(create, secondInput, whole.sampleRate);
        EXPECT_TRUE(std::equal(secondFresh.samples.begin(), secondFresh.samples.end(),
                               first.samples.begin() + half));
    }
}
