// Bad input the band and mid/side compressors, the expanders and the detail
// lifters share beyond the add-on conformance frame: rates a direct caller may
// pass, and samples that are not finite.

#include "registry/addon_registry.h"

#include "tests/addons/dynamics/level_step_fixture.h"
#include "tests/support/addon_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>

namespace
{

// The five that read the buffer's rate; the multiband compressor reads the
// context's first and has its own test for it.
const char* const kBufferRateReaders[] = {"ms_dynamics_processor", "broadband_expander",
                                          "upward_expander", "detail_extractor", "upward_detail"};

const char* const kAll[] = {"multiband_compressor", "ms_dynamics_processor", "broadband_expander",
                            "upward_expander",      "detail_extractor",      "upward_detail"};

AudioBuffer Processed(const std::string& id, const AudioBuffer& input, int contextRate)
{
    const std::unique_ptr<IAudioProcessor> addon = CreateProcessor(id);
    EXPECT_NE(addon, nullptr) << id;
    AudioBuffer buffer = input;
    if (addon != nullptr)
    {
        ProcessContext context;
        context.sampleRate = contextRate;
        addon->process(buffer, context);
    }
    return buffer;
}

// A quiet second that the expanders and lifters change at their defaults, then
// a loud stretch that the compressors change.
AudioBuffer QuietThenLoud()
{
    return LevelStep(48000, -45.0, -3.0);
}

std::string IdName(const ::testing::TestParamInfo<const char*>& info)
{
    return info.param;
}

class BufferRateReaderBadInput : public ::testing::TestWithParam<const char*>
{
};

class BandAndExpanderBadInput : public ::testing::TestWithParam<const char*>
{
};

} // namespace

// A rate of 0 or less would give coefficients of 1 or more, and the track
// would blow up; the buffer comes back untouched instead, whatever the
// context says. A context rate is never read.
TEST_P(BufferRateReaderBadInput, OnlyTheBuffersRateCountsAndZeroOrLessLeavesItUntouched)
{
    const AudioBuffer input = QuietThenLoud();
    const AudioBuffer expected = Processed(GetParam(), input, 48000);
    EXPECT_FALSE(expected.samples == input.samples) << "a real rate must process";
    for (int bufferRate : {0, -48000})
    {
        AudioBuffer bad = input;
        bad.sampleRate = bufferRate;
        EXPECT_TRUE(Processed(GetParam(), bad, 48000).samples == input.samples)
            << "buffer rate " << bufferRate;
    }
    for (int contextRate : {0, -48000, 96000})
    {
        EXPECT_TRUE(Processed(GetParam(), input, contextRate).samples == expected.samples)
            << "context rate " << contextRate;
    }
}

INSTANTIATE_TEST_SUITE_P(Dynamics, BufferRateReaderBadInput,
                         ::testing::ValuesIn(kBufferRateReaders), IdName);

// A value that is not finite ends in a follower or a filter state, which keeps
// it; nothing before it changes and the call returns with every value in
// place. A follower holding NaN or inf reads as never under a threshold, so
// the expanders and lifters stop acting and every later value stays finite
// (the mid/side compressor's gain falls to 0 under inf and the rest is
// silence). The multiband compressor's crossover states keep the bad value,
// so the rest of its channel is NaN; the other channel stays finite.
TEST_P(BandAndExpanderBadInput, NonFiniteSamplesChangeNothingBeforeThemAndStayInTheirChannel)
{
    const std::string id = GetParam();
    const bool spreadsInItsChannel = id == "multiband_compressor";
    const double inf = std::numeric_limits<double>::infinity();
    const AudioBuffer clean = QuietThenLoud();
    const AudioBuffer cleanOutput = Processed(id, clean, 48000);
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), inf, -inf})
    {
        AudioBuffer input = clean;
        const size_t badIndex = 2 * 24000 + 1; // a right value, in the quiet second
        input.samples[badIndex] = bad;
        const AudioBuffer output = Processed(id, input, 48000);
        ASSERT_EQ(output.samples.size(), input.samples.size()) << bad;
        for (size_t i = 0; i + 1 < badIndex; ++i)
        {
            ASSERT_EQ(output.samples[i], cleanOutput.samples[i]) << bad << " at value " << i;
        }
        for (size_t i = badIndex + 1; i < output.samples.size(); ++i)
        {
            const bool sameChannel = i % 2 == badIndex % 2;
            if (!(spreadsInItsChannel && sameChannel))
            {
                ASSERT_TRUE(std::isfinite(output.samples[i])) << bad << " at value " << i;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Dynamics, BandAndExpanderBadInput, ::testing::ValuesIn(kAll), IdName);
