// Bad input the six transient processors share beyond the add-on conformance
// frame: rates a direct caller may pass, and samples that are not finite.

#include "registry/addon_registry.h"

#include "tests/support/addon_run.h"
#include "tests/support/signals.h"
#include "tests/support/transient_signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>

namespace
{

// The five that read the buffer's rate.
const char* const kBufferRateShapers[] = {"crest_factor_controller", "micro_dynamics_restorer",
                                          "punch_enhancer", "transient_shaper",
                                          "transient_sustain_shaper"};

// Settings under which each one changes a drum hit.
AddonSetting Working(const std::string& id)
{
    return id == "crest_factor_controller" ? AddonSetting{{"amount", 0.8}} : AddonSetting{};
}

AudioBuffer Hit()
{
    return DecayingNoiseHit(48000, 0.1, 0.4, 0.95, 60.0, 21);
}

std::vector<double> ProcessedAt(const std::string& id, AudioBuffer buffer, int contextRate)
{
    const std::unique_ptr<IAudioProcessor> addon = CreateProcessor(id);
    EXPECT_NE(addon, nullptr) << id;
    if (addon == nullptr)
    {
        return buffer.samples;
    }
    AddonSetting setting = Working(id);
    for (const auto& [parameter, value] : setting)
    {
        EXPECT_TRUE(addon->setParameter(parameter, value));
    }
    ProcessContext context;
    context.sampleRate = contextRate;
    addon->process(buffer, context);
    return buffer.samples;
}

class BufferRateShaperBadInput : public ::testing::TestWithParam<const char*>
{
};

class TransientBadInput : public ::testing::TestWithParam<const char*>
{
};

std::string IdName(const ::testing::TestParamInfo<const char*>& info)
{
    return info.param;
}

} // namespace

// A negative rate would make every coefficient exceed 1 and the followers
// blow up; 0 would leave no time constant at all. The buffer comes back
// untouched, whatever the context says.
TEST_P(BufferRateShaperBadInput, RateOfZeroOrLessLeavesTheBufferUntouched)
{
    for (int rate : {0, -48000})
    {
        AudioBuffer input = Hit();
        input.sampleRate = rate;
        EXPECT_TRUE(ProcessedAt(GetParam(), input, 48000) == input.samples) << "rate " << rate;
    }
    EXPECT_FALSE(ProcessedAt(GetParam(), Hit(), 48000) == Hit().samples)
        << "the same hit at a real rate must be processed";
}

TEST_P(BufferRateShaperBadInput, ReadsTheBuffersRateNotTheContexts)
{
    const std::vector<double> expected = ProcessedAt(GetParam(), Hit(), 48000);
    for (int contextRate : {0, -48000, 96000})
    {
        EXPECT_TRUE(ProcessedAt(GetParam(), Hit(), contextRate) == expected)
            << "context rate " << contextRate;
    }
}

INSTANTIATE_TEST_SUITE_P(Dynamics, BufferRateShaperBadInput,
                         ::testing::ValuesIn(kBufferRateShapers), IdName);

// The catcher reads the context's rate alone: 0 or less leaves the buffer
// untouched even when the buffer's own rate is valid, and a bad buffer rate
// changes nothing while the context's is good.
TEST(TransientCatcherBadInput, TheContextsRateDecides)
{
    const AudioBuffer input = Hit();
    for (int contextRate : {0, -48000})
    {
        EXPECT_TRUE(ProcessedAt("transient_catcher", input, contextRate) == input.samples)
            << "context rate " << contextRate;
    }
    const std::vector<double> expected = ProcessedAt("transient_catcher", input, 48000);
    EXPECT_FALSE(expected == input.samples) << "the hit must be caught at a real rate";
    for (int bufferRate : {0, -48000, 96000})
    {
        AudioBuffer buffer = input;
        buffer.sampleRate = bufferRate;
        EXPECT_TRUE(ProcessedAt("transient_catcher", buffer, 48000) == expected)
            << "buffer rate " << bufferRate;
    }
}

// A value that is not finite ends in the followers, which keep it. Nothing
// before it changes, and every value after it stays finite: the followers'
// bad value reads as the deepest decay in the shapers and as no overshoot in
// the catcher, so a gain never becomes NaN. The bad value itself comes out as
// it went in, scaled (an infinity times the catcher's full-amount gain of 0 is
// NaN).
TEST_P(TransientBadInput, NonFiniteSamplesLeaveEveryOtherValueFinite)
{
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), inf, -inf})
    {
        const AudioBuffer clean = Hit();
        AudioBuffer input = clean;
        const size_t badIndex = input.samples.size() / 2 + 1;
        input.samples[badIndex] = bad;
        const std::vector<double> output = ProcessedAt(GetParam(), input, 48000);
        const std::vector<double> cleanOutput = ProcessedAt(GetParam(), clean, 48000);
        ASSERT_EQ(output.size(), input.samples.size()) << bad;
        const size_t badFrameStart = badIndex - badIndex % 2;
        for (size_t i = 0; i < output.size(); ++i)
        {
            if (i < badFrameStart)
            {
                ASSERT_EQ(output[i], cleanOutput[i]) << bad << " at value " << i;
            }
            else if (i != badIndex)
            {
                ASSERT_TRUE(std::isfinite(output[i])) << bad << " at value " << i;
            }
        }
        EXPECT_FALSE(std::isfinite(output[badIndex])) << bad;
    }
}

INSTANTIATE_TEST_SUITE_P(Dynamics, TransientBadInput,
                         ::testing::Values("crest_factor_controller", "micro_dynamics_restorer",
                                           "punch_enhancer", "transient_shaper",
                                           "transient_sustain_shaper", "transient_catcher"),
                         IdName);
