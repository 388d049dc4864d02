// Bad input the five bus compressors share beyond the add-on conformance frame:
// rates a direct caller may pass, and samples that are not finite.

#include "registry/addon_registry.h"

#include "tests/support/addon_checks.h"
#include "tests/support/addon_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{

const char* const kBusCompressors[] = {"standard_compressor", "glue_module",
                                       "transparent_bus_compressor", "vintage_compressor",
                                       "parallel_aggression"};

class BusCompressorBadInput : public ::testing::TestWithParam<const char*>
{
protected:
    AudioBuffer Processed(const AudioBuffer& input) const
    {
        const std::unique_ptr<IAudioProcessor> addon = CreateProcessor(GetParam());
        EXPECT_NE(addon, nullptr) << GetParam();
        return addon != nullptr ? ProcessedBy(*addon, input) : input;
    }
};

// A loud signal that every one of them changes at its defaults.
AudioBuffer LoudSignal()
{
    return QuadraturePair(440.0, 48000, 0.5, 0.9);
}

} // namespace

// A rate of 0 or less would give coefficients of 1 or more, and the track
// would blow up; the buffer comes back untouched instead.
TEST_P(BusCompressorBadInput, RateOfZeroOrLessLeavesTheBufferUntouched)
{
    for (int rate : {0, -48000})
    {
        AudioBuffer input = LoudSignal();
        input.sampleRate = rate;
        EXPECT_TRUE(Processed(input).samples == input.samples) << "rate " << rate;
    }
    EXPECT_FALSE(Processed(LoudSignal()).samples == LoudSignal().samples)
        << "the same signal at a real rate must be processed";
}

// A value that is not finite ends in the follower, which keeps it; what comes
// after it is the add-on's business, but nothing before it changes and the
// call ends with every value in place.
TEST_P(BusCompressorBadInput, NonFiniteSamplesChangeNothingBeforeThem)
{
    ExpectANonFiniteSampleChangesNothingBeforeIt(
        [id = std::string(GetParam())] { return CreateProcessor(id); }, LoudSignal());
}

// The rate comes from the buffer: a context that says otherwise changes nothing.
TEST_P(BusCompressorBadInput, ReadsTheBuffersRateNotTheContexts)
{
    const AudioBuffer expected = Processed(LoudSignal());
    for (int contextRate : {0, -48000, 96000})
    {
        AudioBuffer buffer = LoudSignal();
        const std::unique_ptr<IAudioProcessor> addon = CreateProcessor(GetParam());
        ASSERT_NE(addon, nullptr);
        ProcessContext context;
        context.sampleRate = contextRate;
        addon->process(buffer, context);
        EXPECT_TRUE(buffer.samples == expected.samples) << "context rate " << contextRate;
    }
}

INSTANTIATE_TEST_SUITE_P(Dynamics, BusCompressorBadInput, ::testing::ValuesIn(kBusCompressors),
                         [](const ::testing::TestParamInfo<const char*>& info)
                         { return std::string(info.param); });
