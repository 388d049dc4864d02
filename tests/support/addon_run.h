#pragma once

// Running one add-on over a copy of a buffer, for the tests of single add-ons.

#include "engine/chain/audio_processor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// Parameter values to set, in order.
using AddonSetting = std::vector<std::pair<std::string, double>>;

// The buffer as the add-on leaves it after setting each value (each must be
// accepted) and processing it once under a run context at the buffer's rate.
inline AudioBuffer ProcessedBy(IAudioProcessor& addon, AudioBuffer buffer,
                               const AddonSetting& setting = {})
{
    for (const auto& [id, value] : setting)
    {
        EXPECT_TRUE(addon.setParameter(id, value)) << id;
    }
    ProcessContext context;
    context.sampleRate = buffer.sampleRate;
    addon.process(buffer, context);
    return buffer;
}

// The same with a fresh add-on of class Addon.
template <class Addon>
AudioBuffer ProcessedBy(const AudioBuffer& buffer, const AddonSetting& setting = {})
{
    Addon addon;
    return ProcessedBy(addon, buffer, setting);
}

// Checks every value from firstFrame on against expected(input value), within
// tolerance; reports the first miss only.
inline void ExpectValuesFrom(const AudioBuffer& input, const AudioBuffer& output,
                             std::size_t firstFrame, const std::function<double(double)>& expected,
                             double tolerance)
{
    ASSERT_EQ(output.samples.size(), input.samples.size());
    for (std::size_t i = 2 * firstFrame; i < input.samples.size(); ++i)
    {
        const double want = expected(input.samples[i]);
        if (!(std::fabs(output.samples[i] - want) <= tolerance))
        {
            ADD_FAILURE() << "value " << i << ": " << input.samples[i] << " became "
                          << output.samples[i] << ", expected " << want;
            return;
        }
    }
}
