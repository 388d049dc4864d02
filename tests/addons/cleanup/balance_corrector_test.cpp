#include "addons/cleanup/balance_corrector.h"

#include "engine/decibels.h"
#include "engine/dsp/oversampler.h"
#include "tests/support/addon_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <vector>

namespace
{

constexpr int kRate = 48000;

// The gain in dB that took each value of one channel from input to output,
// the same for every value of the channel (or the test fails).
double ChannelGainDb(const AudioBuffer& input, const AudioBuffer& output, std::size_t channel)
{
    double gain = 0.0;
    for (std::size_t i = channel; i < input.samples.size(); i += 2)
    {
        if (input.samples[i] != 0.0)
        {
            const double ratio = output.samples[i] / input.samples[i];
            if (gain == 0.0)
            {
                gain = ratio;
            }
            EXPECT_NEAR(ratio, gain, 1e-12) << "value " << i;
        }
    }
    return GainToDb(gain, 1e-12);
}

// Noise in the left channel, the same noise `rightDb` lower in the right.
AudioBuffer Leaning(double rightDb, std::size_t frames)
{
    const std::vector<double> left = Noise(frames, 0.5, 7);
    std::vector<double> right = left;
    for (double& value : right)
    {
        value *= DbToGain(rightDb);
    }
    return InterleaveStereo(left, right, kRate);
}

// `frames` of a sine at `leftLevel` and `rightLevel` appended to `track`.
void AppendSection(std::vector<double>& left, std::vector<double>& right, std::size_t frames,
                   double leftLevel, double rightLevel)
{
    const std::vector<double> sine = Sine(330.0, kRate, frames, 1.0);
    for (double value : sine)
    {
        left.push_back(value * leftLevel);
        right.push_back(value * rightLevel);
    }
}

} // namespace

// Both sides meet at the geometric mean: a right channel 3 dB down moves the
// left down and the right up by 1.5 dB each, times the amount, and never by
// more than the largest correction times the amount. Whole blocks or not, a
// steady lean is the same in the loud sections and in the whole track.
TEST(BalanceCorrector, MeetsAtTheGeometricMeanWithinTheLargestCorrection)
{
    struct Case
    {
        double amount;
        double maxCorrectionDb;
        double expectedDb;
    };
    const Case cases[] = {
        {1.0, 6.0, 1.5}, {0.75, 6.0, 1.125}, {0.5, 6.0, 0.75}, {1.0, 0.5, 0.5}, {0.5, 0.5, 0.25},
    };
    for (double loudSectionsOnly : {1.0, 0.0})
    {
        for (std::size_t frames : {std::size_t{600}, FramesIn(3.5, kRate)})
        {
            const AudioBuffer input = Leaning(-3.0, frames);
            for (const Case& c : cases)
            {
                SCOPED_TRACE(::testing::Message()
                             << "amount " << c.amount << ", max " << c.maxCorrectionDb
                             << ", loud only " << loudSectionsOnly << ", frames " << frames);
                const AudioBuffer output = ProcessedBy<BalanceCorrector>(
                    input, {{"amount", c.amount},
                            {"max_correction_db", c.maxCorrectionDb},
                            {"loud_sections_only", loudSectionsOnly}});
                EXPECT_NEAR(ChannelGainDb(input, output, 0), -c.expectedDb, 1e-9);
                EXPECT_NEAR(ChannelGainDb(input, output, 1), c.expectedDb, 1e-9);
            }
        }
    }
}

// A quiet intro leaning left, then loud sections in balance: the loud blocks
// alone show no lean, so nothing moves; measured over the whole track the
// intro tips the levels and both channels move.
TEST(BalanceCorrector, QuietLeaningIntroCountsOnlyWhenTheWholeTrackIsMeasured)
{
    std::vector<double> left;
    std::vector<double> right;
    AppendSection(left, right, FramesIn(5.0, kRate), 0.02, 0.005);
    AppendSection(left, right, FramesIn(10.0, kRate), 0.5, 0.5);
    const AudioBuffer input = InterleaveStereo(left, right, kRate);

    const AudioBuffer loudOnly = ProcessedBy<BalanceCorrector>(input, {{"amount", 1.0}});
    EXPECT_NEAR(ChannelGainDb(input, loudOnly, 0), 0.0, 1e-9);
    EXPECT_NEAR(ChannelGainDb(input, loudOnly, 1), 0.0, 1e-9);

    const AudioBuffer whole =
        ProcessedBy<BalanceCorrector>(input, {{"amount", 1.0}, {"loud_sections_only", 0.0}});
    double leftSquares = 0.0;
    double rightSquares = 0.0;
    for (std::size_t i = 0; i < left.size(); ++i)
    {
        leftSquares += left[i] * left[i];
        rightSquares += right[i] * right[i];
    }
    const double halfLeanDb = 0.5 * 10.0 * std::log10(rightSquares / leftSquares);
    ASSERT_LT(halfLeanDb, -0.001);
    EXPECT_NEAR(ChannelGainDb(input, whole, 0), halfLeanDb, 1e-9);
    EXPECT_NEAR(ChannelGainDb(input, whole, 1), -halfLeanDb, 1e-9);
}

// The blocks are a second long (at least 1024 frames): one loud second in
// balance among quiet leaning ones is the only block that counts, but a
// buffer shorter than a block is one block, which always counts.
TEST(BalanceCorrector, BlocksAreASecondOrAtLeast1024Frames)
{
    std::vector<double> left;
    std::vector<double> right;
    AppendSection(left, right, 300, 0.02, 0.005);
    AppendSection(left, right, 600, 0.5, 0.5);
    const AudioBuffer shortTrack = InterleaveStereo(left, right, kRate);
    const AudioBuffer output = ProcessedBy<BalanceCorrector>(shortTrack, {{"amount", 1.0}});
    const AudioBuffer whole =
        ProcessedBy<BalanceCorrector>(shortTrack, {{"amount", 1.0}, {"loud_sections_only", 0.0}});
    EXPECT_LT(ChannelGainDb(shortTrack, output, 0), -0.001);
    EXPECT_EQ(output.samples, whole.samples);

    // At a context rate of 512 the block is still 1024 frames, so the 900
    // frames are one block again.
    BalanceCorrector lowRate;
    ASSERT_TRUE(lowRate.setParameter("amount", 1.0));
    AudioBuffer atLowRate = shortTrack;
    ProcessContext context;
    context.sampleRate = 512;
    lowRate.process(atLowRate, context);
    EXPECT_EQ(atLowRate.samples, whole.samples);
}
