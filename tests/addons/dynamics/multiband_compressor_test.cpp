#include "addons/dynamics/multiband_compressor.h"

#include "engine/decibels.h"
#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/mid_side_run.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

namespace
{

class MultibandCompressorAtRate : public ::testing::TestWithParam<int>
{
};

// A low tone and a high tone, the same in both channels, three seconds long.
AudioBuffer TwoTones(int rate, double lowHz, double lowAmplitude, double highHz,
                     double highAmplitude)
{
    AudioBuffer low = StereoSine(lowHz, rate, 3.0, lowAmplitude);
    const AudioBuffer high = StereoSine(highHz, rate, 3.0, highAmplitude);
    for (size_t i = 0; i < low.samples.size(); ++i)
    {
        low.samples[i] += high.samples[i];
    }
    return low;
}

} // namespace

// The three bands add up to the input, so with every band gain at 1 (no band
// level reaches -18 dB, the lowest threshold an amount can set) the output is
// the input to rounding, wherever the crossovers sit, out of range included.
TEST_P(MultibandCompressorAtRate, UnityBandGainsGiveTheInputBack)
{
    const int rate = GetParam();
    // Peaks of 0.05 keep every band under 0.1 (-20 dB): a one-pole low-pass
    // never leaves the input's range, and the other bands are differences.
    const AudioBuffer input = StereoNoise(rate, 1.0, 0.05, 7);
    const double crossovers[][2] = {{60.0, 1200.0},  {180.0, 3200.0}, {600.0, 8000.0},
                                    {600.0, 1200.0}, {10.0, 20000.0}, {5000.0, 100.0}};
    for (const auto& [low, high] : crossovers)
    {
        const AudioBuffer output =
            ProcessedBy<MultibandCompressor>(input, {{"low_amount", 1.0},
                                                     {"mid_amount", 1.0},
                                                     {"high_amount", 1.0},
                                                     {"crossover_low_hz", low},
                                                     {"crossover_high_hz", high}});
        EXPECT_LT(LargestDifference(input.samples, output.samples), 1e-15)
            << low << " / " << high << " Hz";
    }
}

// Each band has its own follower: a loud tone in one band is compressed while
// a tone in a band whose amount is 0 keeps its level, quiet or loud.
TEST_P(MultibandCompressorAtRate, ALoudBandIsCompressedAndABandAtAmountZeroIsNot)
{
    const int rate = GetParam();
    struct Case
    {
        const char* what;
        double lowAmplitude;
        double highAmplitude;
        double lowAmount;
        double highAmount;
        bool lowCompressed;
        bool highCompressed;
    };
    const Case cases[] = {
        {"loud 50 Hz, quiet 8 kHz, low band only", 0.8, 0.05, 1.0, 0.0, true, false},
        {"quiet 50 Hz, loud 8 kHz, high band only", 0.05, 0.8, 0.0, 1.0, false, true},
        {"both loud, high band only", 0.5, 0.5, 0.0, 1.0, false, true},
        {"both loud, low band only", 0.5, 0.5, 1.0, 0.0, true, false},
    };
    const size_t settled = FramesIn(1.0, rate);
    for (const Case& c : cases)
    {
        const AudioBuffer input = TwoTones(rate, 50.0, c.lowAmplitude, 8000.0, c.highAmplitude);
        const AudioBuffer output = ProcessedBy<MultibandCompressor>(
            input,
            {{"low_amount", c.lowAmount}, {"mid_amount", 0.0}, {"high_amount", c.highAmount}});
        const double lowDb = ToneGainDb(input, output, 50.0, settled);
        const double highDb = ToneGainDb(input, output, 8000.0, settled);
        if (c.lowCompressed)
        {
            EXPECT_LT(lowDb, -3.0) << c.what;
        }
        else
        {
            EXPECT_NEAR(lowDb, 0.0, 0.3) << c.what;
        }
        if (c.highCompressed)
        {
            EXPECT_LT(highDb, -3.0) << c.what;
        }
        else
        {
            EXPECT_NEAR(highDb, 0.0, 0.3) << c.what;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, MultibandCompressorAtRate, AddonTestRates(), RateTestName);

// The rate comes from the context, and from the buffer when the context has
// none; with neither the buffer is left as it was.
TEST(MultibandCompressor, ReadsTheContextRateAndFallsBackToTheBuffers)
{
    const AudioBuffer loud = TwoTones(48000, 50.0, 0.8, 8000.0, 0.5);
    auto processed = [&](int bufferRate, int contextRate)
    {
        AudioBuffer buffer = loud;
        buffer.sampleRate = bufferRate;
        ProcessContext context;
        context.sampleRate = contextRate;
        MultibandCompressor addon;
        addon.process(buffer, context);
        return buffer.samples;
    };
    const std::vector<double> at48k = processed(48000, 48000);
    EXPECT_FALSE(at48k == loud.samples);
    EXPECT_TRUE(processed(48000, 0) == at48k) << "context 0: the buffer's rate";
    EXPECT_TRUE(processed(48000, -1) == at48k) << "negative context: the buffer's rate";
    EXPECT_TRUE(processed(0, 48000) == at48k) << "the context's rate, whatever the buffer says";
    EXPECT_TRUE(processed(96000, 48000) == at48k) << "the context's rate comes first";
    EXPECT_TRUE(processed(0, 0) == loud.samples) << "no rate at all";
    EXPECT_TRUE(processed(-48000, 0) == loud.samples) << "no usable rate";
}
