#include "engine/loudness/loudness.h"

#include "loudness_fixtures.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace loudness_fixtures;

namespace
{

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

void ExpectNothingMeasured(const LoudnessStats& stats, const std::string& what)
{
    EXPECT_FALSE(stats.hasIntegratedLufs) << what;
    EXPECT_EQ(stats.integratedLufs, 0.0) << what;
    EXPECT_FALSE(stats.hasShortTermDistribution) << what;
    for (double percentile : stats.shortTermLufsPercentiles)
    {
        EXPECT_EQ(percentile, 0.0) << what;
    }
    EXPECT_EQ(stats.loudnessRange, 0.0) << what;
}

TEST(LoudnessHelpers, RunningSumsAndBlockEnergies)
{
    const std::vector<double> left = CumulativeSquares(std::vector<double>{1.0, -2.0, 3.0, 1.0});
    EXPECT_EQ(left, (std::vector<double>{0.0, 1.0, 5.0, 14.0, 15.0}));
    EXPECT_EQ(CumulativeSquares(std::vector<double>{}), std::vector<double>{0.0});

    const std::vector<double> right = CumulativeSquares(std::vector<double>{2.0, 0.0, 0.0, 2.0});
    // Blocks of 2 frames every frame: (1+4)/2 + 0.5 (4+0)/2, (4+9)/2 + 0, (9+1)/2 + 0.5 (0+4)/2.
    EXPECT_EQ(BlockMeanSquares(left, right, {1.0, 0.5}, 4, 2, 1),
              (std::vector<double>{3.5, 6.5, 6.0}));
    // A hop larger than what is left ends the blocks; a block longer than the track gives none.
    EXPECT_EQ(BlockMeanSquares(left, right, {1.0, 1.0}, 4, 3, 2),
              (std::vector<double>{14.0 / 3 + 4.0 / 3}));
    EXPECT_TRUE(BlockMeanSquares(left, right, {1.0, 1.0}, 4, 5, 1).empty());
    EXPECT_TRUE(BlockMeanSquares(left, right, {1.0, 1.0}, 4, 0, 1).empty());
    EXPECT_TRUE(BlockMeanSquares(left, right, {1.0, 1.0}, 4, 2, 0).empty());
    // A frame count beyond the sums given is not read past.
    EXPECT_EQ(BlockMeanSquares(left, right, {1.0, 1.0}, 1000, 4, 4).size(), 1u);
}

TEST(LoudnessHelpers, InterpolatedPercentile)
{
    const std::vector<double> single = {-23.0};
    for (double p : {0.0, 0.1, 0.5, 1.0, -3.0, 7.0})
    {
        EXPECT_EQ(InterpolatedPercentile(single, p), -23.0) << "p = " << p;
    }
    const std::vector<double> four = {1.0, 2.0, 3.0, 5.0};
    EXPECT_DOUBLE_EQ(InterpolatedPercentile(four, 0.5), 2.5);
    EXPECT_DOUBLE_EQ(InterpolatedPercentile(four, 0.9), 3.0 + 2.0 * 0.7);
    EXPECT_EQ(InterpolatedPercentile(four, -0.5), 1.0) << "p below 0 is clamped";
    EXPECT_EQ(InterpolatedPercentile(four, 1.5), 5.0) << "p above 1 is clamped";
    EXPECT_EQ(InterpolatedPercentile(four, kNaN), 1.0) << "NaN p must not index out of range";
    EXPECT_EQ(InterpolatedPercentile(std::vector<double>{}, 0.5), 0.0);
}

TEST(SamplePeak, LargestMagnitudeOfBothChannels)
{
    AudioBuffer buffer;
    buffer.sampleRate = 48000;
    EXPECT_EQ(SamplePeakDb(buffer), -kInf) << "empty buffer";
    buffer.samples = {0.0, 0.0, 0.0, 0.0};
    EXPECT_EQ(SamplePeakDb(buffer), -kInf) << "digital silence";
    buffer.samples = {0.1, 0.2, -0.25, -0.5};
    EXPECT_NEAR(SamplePeakDb(buffer), -6.0206, 1e-4) << "negative peak of the right channel";
}

TEST(MeasureLoudness, FullScaleSineReadsAQuarterLuLow)
{
    // The filter pair gains about 0.438 dB at 1 kHz; BS.1770 calibrates that away with
    // -0.691, so the stored shelf reads about 0.25 LU under 0 LUFS.
    const LoudnessStats stats = MeasureLoudness(StereoSine(1000.0, 48000, 10.0, 1.0));
    ASSERT_TRUE(stats.hasIntegratedLufs);
    EXPECT_NEAR(stats.integratedLufs, -0.253, 0.005);
    ASSERT_TRUE(stats.hasShortTermDistribution);
    for (double percentile : stats.shortTermLufsPercentiles)
    {
        EXPECT_NEAR(percentile, stats.integratedLufs, 0.01) << "a steady tone has one level";
    }
    EXPECT_NEAR(stats.loudnessRange, 0.0, 0.01);
}

TEST(MeasureLoudness, LoudnessFollowsGainExactly)
{
    const AudioBuffer noise = StereoPinkNoise(48000, 12.0, 0.05, 7);
    AudioBuffer louder = noise;
    for (double& sample : louder.samples)
    {
        sample *= 2.0;
    }
    const LoudnessStats quiet = MeasureLoudness(noise);
    const LoudnessStats loud = MeasureLoudness(louder);
    ASSERT_TRUE(quiet.hasIntegratedLufs && loud.hasIntegratedLufs);
    EXPECT_NEAR(loud.integratedLufs - quiet.integratedLufs, 20.0 * std::log10(2.0), 1e-9);
    EXPECT_NEAR(loud.loudnessRange, quiet.loudnessRange, 1e-9);
}

TEST(MeasureLoudness, InputWithoutMeasurableLoudness)
{
    struct Case
    {
        std::string what;
        AudioBuffer buffer;
    };
    AudioBuffer nanInside = StereoSine(1000.0, 48000, 5.0, 0.5);
    nanInside.samples[48000 * 2 * 3] = kNaN; // three seconds in: blocks before it are fine
    AudioBuffer infInside = StereoSine(1000.0, 48000, 5.0, 0.5);
    infInside.samples[48000 * 2 * 3 + 1] = -kInf;
    AudioBuffer oneFrame = StereoSine(1000.0, 48000, 0.0, 0.5);
    oneFrame.samples = {0.5, 0.5};
    AudioBuffer rateZero = StereoSine(1000.0, 48000, 5.0, 0.5);
    rateZero.sampleRate = 0;

    const Case cases[] = {
        {"digital silence", StereoSine(1000.0, 48000, 5.0, 0.0)},
        {"below the absolute gate", StereoSine(1000.0, 48000, 5.0, std::pow(10.0, -75.0 / 20.0))},
        {"shorter than one 400 ms block", StereoSine(1000.0, 48000, 0.399, 0.5)},
        {"one frame", oneFrame},
        {"no frames", AudioBuffer{48000, {}, {}, {}}},
        {"rate 0", rateZero},
        {"NaN sample", nanInside},
        {"-inf sample", infInside},
    };
    for (const Case& c : cases)
    {
        ExpectNothingMeasured(MeasureLoudness(c.buffer), c.what);
    }
}

TEST(MeasureLoudness, TrackUnderThreeSecondsHasNoDistribution)
{
    for (double seconds : {0.4, 1.0, 2.999})
    {
        const LoudnessStats stats = MeasureLoudness(StereoSine(1000.0, 48000, seconds, 0.5));
        EXPECT_TRUE(stats.hasIntegratedLufs) << seconds << " s";
        EXPECT_NEAR(stats.integratedLufs, -0.253 - 6.0206, 0.01) << seconds << " s";
        EXPECT_FALSE(stats.hasShortTermDistribution) << seconds << " s";
        EXPECT_EQ(stats.loudnessRange, 0.0) << seconds << " s";
    }
}

TEST(MeasureLoudness, RangeLeavesOutPassagesFarBelowTheIntegratedLevel)
{
    // 20 s of tone, then 20 s 30 dB quieter: the quiet second is in the short-term
    // distribution (above -70 LUFS) but outside the 20 LU window of the range.
    const LoudnessStats stats = MeasureLoudness(ToneBursts(1000.0, 48000, -10.0, -40.0, 20.0, 2));
    ASSERT_TRUE(stats.hasShortTermDistribution);
    EXPECT_NEAR(stats.shortTermLufsPercentiles[0], -40.253, 0.01);
    EXPECT_NEAR(stats.shortTermLufsPercentiles[4], -10.253, 0.01);
    EXPECT_LT(stats.loudnessRange, 3.0) << "the quiet passage widened the range";
}

// Our meter against libebur128: the integrated readings differ by exactly what
// the two K-weighting filters differ by on the signal; gating and blocks agree.
struct OracleCase
{
    const char* name;
    AudioBuffer buffer;
    double filterDifferenceDb;
    bool compareRange;
};

// Energy of the signal through our K-weighting over its energy through the
// standard table: the filter difference for a signal with a spread spectrum.
double WeightedEnergyDifferenceDb(const AudioBuffer& buffer)
{
    const auto runPair =
        [](std::vector<double> x, BiquadCoefficients first, BiquadCoefficients second)
    {
        for (const BiquadCoefficients& c : {first, second})
        {
            double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
            for (double& v : x)
            {
                const double y = c.b0 * v + c.b1 * x1 + c.b2 * x2 - c.a1 * y1 - c.a2 * y2;
                x2 = x1;
                x1 = v;
                y2 = y1;
                y1 = y;
                v = y;
            }
        }
        double energy = 0.0;
        for (double v : x)
        {
            energy += v * v;
        }
        return energy;
    };
    double ours = 0.0, standard = 0.0;
    for (size_t channel = 0; channel < 2; ++channel)
    {
        std::vector<double> x(buffer.FrameCount());
        for (size_t i = 0; i < x.size(); ++i)
        {
            x[i] = buffer.samples[2 * i + channel];
        }
        ours += runPair(x, KWeightShelfCoefficients(48000), KWeightHighPassCoefficients(48000));
        standard += runPair(x, kStandardShelf48k, kStandardHighPass48k);
    }
    return 10.0 * std::log10(ours / standard);
}

TEST(MeasureLoudness, AgreesWithLibebur128UpToTheFilterDifference)
{
    const AudioBuffer pink = StereoPinkNoise(48000, 30.0, 0.1, 11);
    const OracleCase cases[] = {
        {"pink noise", pink, WeightedEnergyDifferenceDb(pink), true},
        {"1 kHz tone", StereoSine(1000.0, 48000, 20.0, 0.5), KWeightDifferenceDb(1000.0), true},
        {"100 Hz tone", StereoSine(100.0, 48000, 20.0, 0.5), KWeightDifferenceDb(100.0), true},
        {"tone bursts at -20 and -40 dBFS", ToneBursts(1000.0, 48000, -20.0, -40.0, 10.0, 6),
         KWeightDifferenceDb(1000.0), true},
    };
    for (const OracleCase& c : cases)
    {
        const LoudnessStats ours = MeasureLoudness(c.buffer);
        const OracleReading oracle = MeasureWithOracle(c.buffer);
        ASSERT_TRUE(ours.hasIntegratedLufs) << c.name;
        EXPECT_NEAR(ours.integratedLufs - oracle.integratedLufs, c.filterDifferenceDb, 0.02)
            << c.name << ": integrated loudness differs from libebur128's by more than the filter";
        if (c.compareRange)
        {
            ASSERT_TRUE(ours.hasShortTermDistribution) << c.name;
            EXPECT_NEAR(ours.loudnessRange, oracle.loudnessRange, 0.5)
                << c.name << ": loudness range differs from libebur128's";
        }
    }
}

} // namespace
