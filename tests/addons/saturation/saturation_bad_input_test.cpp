// Bad input the maximizer and the five saturators share beyond the add-on
// conformance frame: rates a direct caller may pass, and samples that are not
// finite.

#include "registry/addon_registry.h"

#include "tests/support/addon_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <limits>
#include <memory>
#include <string>

namespace
{

enum class AtNoRate
{
    Untouched,     // reads the rate and has no use for one of 0 or less
    Unaffected,    // reads no rate
    FallbackValues // the maximizer's own values for such a rate
};

struct SaturatorRow
{
    const char* id;
    AtNoRate atNoRate;
    bool memoryless;      // each value depends on itself alone (and no peak rule)
    AddonSetting hardest; // the most drive with the whole wet share
};

const SaturatorRow kSaturators[] = {
    {"sonic_maximizer",
     AtNoRate::FallbackValues,
     false,
     {{"lo_contour", 10.0}, {"process", 10.0}, {"reduce_fatigue", 0.0}}},
    {"exciter", AtNoRate::Untouched, false, {{"drive_db", 12.0}, {"mix", 1.0}}},
    {"harmonic_enhancer", AtNoRate::Unaffected, true, {{"drive_db", 12.0}, {"mix", 1.0}}},
    {"tape_saturation", AtNoRate::Untouched, false, {{"drive_db", 12.0}, {"mix", 1.0}}},
    {"tube_saturation", AtNoRate::Unaffected, false, {{"drive_db", 12.0}, {"mix", 1.0}}},
    {"transformer_saturation", AtNoRate::Unaffected, true, {{"drive_db", 10.0}, {"mix", 1.0}}},
};

class SaturatorBadInput : public ::testing::TestWithParam<SaturatorRow>
{
protected:
    AudioBuffer Processed(const AudioBuffer& input, int contextRate = 48000,
                          const AddonSetting& setting = {}) const
    {
        AudioBuffer buffer = input;
        const std::unique_ptr<IAudioProcessor> addon = CreateProcessor(GetParam().id);
        EXPECT_NE(addon, nullptr) << GetParam().id;
        if (addon != nullptr)
        {
            for (const auto& [id, value] : setting)
            {
                EXPECT_TRUE(addon->setParameter(id, value)) << id;
            }
            ProcessContext context;
            context.sampleRate = contextRate;
            addon->process(buffer, context);
        }
        return buffer;
    }
};

AudioBuffer Signal()
{
    return StereoNoise(48000, 0.25, 0.8, 17);
}

size_t NonFiniteCount(const AudioBuffer& buffer)
{
    return std::count_if(buffer.samples.begin(), buffer.samples.end(),
                         [](double value) { return !std::isfinite(value); });
}

} // namespace

// At a rate of 0 or less the tape's low-pass gives silence and the exciter's
// pole is 0: both would turn the track into something else, so they leave it
// untouched. The three that read no rate do not care; the maximizer works
// with its fallback values and stays finite.
TEST_P(SaturatorBadInput, RatesOfZeroOrLess)
{
    const AudioBuffer input = Signal();
    const AudioBuffer atRealRate = Processed(input);
    ASSERT_FALSE(atRealRate.samples == input.samples) << "must change the signal at 48 kHz";
    for (int rate : {0, -48000})
    {
        SCOPED_TRACE(::testing::Message() << "rate " << rate);
        AudioBuffer odd = input;
        odd.sampleRate = rate;
        const AudioBuffer output = Processed(odd, rate);
        switch (GetParam().atNoRate)
        {
        case AtNoRate::Untouched:
            EXPECT_TRUE(output.samples == input.samples);
            break;
        case AtNoRate::Unaffected:
            EXPECT_TRUE(output.samples == atRealRate.samples);
            break;
        case AtNoRate::FallbackValues:
            EXPECT_TRUE(AllFinite(output));
            EXPECT_FALSE(output.samples == input.samples);
            break;
        }
    }
}

// A value that is not finite: the call ends with every value in place. The
// memoryless ones change no other value than the bad one; the filtered ones
// change nothing before it.
TEST_P(SaturatorBadInput, NonFiniteSamples)
{
    const double inf = std::numeric_limits<double>::infinity();
    const AudioBuffer clean = Signal();
    const AudioBuffer cleanOutput = Processed(clean);
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), inf, -inf})
    {
        AudioBuffer input = clean;
        const size_t badIndex = input.samples.size() / 2 + 1;
        input.samples[badIndex] = bad;
        const AudioBuffer output = Processed(input);
        ASSERT_EQ(output.samples.size(), input.samples.size()) << bad;
        std::cout << "[ bad in   ] " << GetParam().id << ", " << bad
                  << " in: " << NonFiniteCount(output) << " non-finite values out, the bad one "
                  << output.samples[badIndex] << "\n";
        if (GetParam().memoryless)
        {
            for (size_t i = 0; i < input.samples.size(); ++i)
            {
                if (i != badIndex)
                {
                    ASSERT_EQ(output.samples[i], cleanOutput.samples[i]) << bad << " at " << i;
                }
            }
        }
        else if (std::string(GetParam().id) != "sonic_maximizer" &&
                 std::string(GetParam().id) != "tube_saturation")
        {
            for (size_t i = 0; i + 1 < badIndex; ++i)
            {
                ASSERT_EQ(output.samples[i], cleanOutput.samples[i]) << bad << " at value " << i;
            }
        }
    }
}

// The most drive, fully wet, on a signal peaking at 2.0, at every amount and
// rate: the curves stay finite.
TEST_P(SaturatorBadInput, FullDriveOnASignalPeakingAtTwoStaysFinite)
{
    for (int rate : {44100, 48000, 96000})
    {
        AudioBuffer loud = StereoNoise(rate, 0.25, 2.0, 23);
        loud.samples[101] = -2.0;
        for (double amount : {0.01, 0.5, 1.0})
        {
            AddonSetting setting = GetParam().hardest;
            setting.insert(setting.begin(), {"amount", amount});
            const AudioBuffer output = Processed(loud, rate, setting);
            EXPECT_TRUE(AllFinite(output)) << rate << " Hz, amount " << amount;
            EXPECT_FALSE(output.samples == loud.samples) << rate << " Hz, amount " << amount;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Saturation, SaturatorBadInput, ::testing::ValuesIn(kSaturators),
                         [](const ::testing::TestParamInfo<SaturatorRow>& info)
                         { return std::string(info.param.id); });
