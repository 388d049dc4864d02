#include "engine/loudness/k_weighting.h"
#include "engine/loudness/loudness.h"

#include "loudness_fixtures.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

using loudness_fixtures::BiquadPowerGain;

namespace
{

void ExpectCoefficients(const BiquadCoefficients& actual, const BiquadCoefficients& expected,
                        const char* stage)
{
    EXPECT_NEAR(actual.b0, expected.b0, 1e-9) << stage;
    EXPECT_NEAR(actual.b1, expected.b1, 1e-9) << stage;
    EXPECT_NEAR(actual.b2, expected.b2, 1e-9) << stage;
    EXPECT_NEAR(actual.a1, expected.a1, 1e-9) << stage;
    EXPECT_NEAR(actual.a2, expected.a2, 1e-9) << stage;
}

TEST(KWeighting, CoefficientsAt48kHzAreTheStoredOnes)
{
    // Profiles were measured with these; a "corrected" shelf would shift every stored loudness.
    ExpectCoefficients(
        KWeightShelfCoefficients(48000),
        {1.529304941474, -2.636123243981, 1.158484868424, -1.65377793246, 0.705444498377}, "shelf");
    ExpectCoefficients(KWeightHighPassCoefficients(48000),
                       {0.9950299263, -1.9900598526, 0.9950299263, -1.990047454834, 0.990072250366},
                       "high-pass");
}

struct ToneCase
{
    int sampleRate;
    double frequencyHz;
};

class KWeightingTone : public ::testing::TestWithParam<ToneCase>
{
};

// A steady sine through the filter pair comes out scaled by the pair's
// analytic response at that frequency, at every sample rate.
TEST_P(KWeightingTone, SineGainMatchesTheTransferFunction)
{
    const ToneCase c = GetParam();
    const size_t frames = static_cast<size_t>(c.sampleRate) * 2;
    const std::vector<double> sine = Sine(c.frequencyHz, c.sampleRate, frames, 1.0);
    const std::vector<double> filtered = KWeightChannel(sine, c.sampleRate);
    ASSERT_EQ(filtered.size(), frames);

    // Skip the first second: the 38 Hz high-pass needs time to settle.
    const double measuredDb = SteadyStateGainDb(sine, filtered, frames / 2);
    const double expectedDb =
        10.0 * std::log10(BiquadPowerGain(KWeightShelfCoefficients(c.sampleRate), c.frequencyHz,
                                          c.sampleRate) *
                          BiquadPowerGain(KWeightHighPassCoefficients(c.sampleRate), c.frequencyHz,
                                          c.sampleRate));
    EXPECT_NEAR(measuredDb, expectedDb, 0.01) << "filter output disagrees with its response";
}

INSTANTIATE_TEST_SUITE_P(Rates, KWeightingTone,
                         ::testing::Values(ToneCase{48000, 1000.0}, ToneCase{48000, 20.0},
                                           ToneCase{48000, 100.0}, ToneCase{48000, 10000.0},
                                           ToneCase{44100, 1000.0}, ToneCase{44100, 15000.0},
                                           ToneCase{96000, 1000.0}, ToneCase{96000, 30.0}),
                         [](const ::testing::TestParamInfo<ToneCase>& info)
                         {
                             return std::to_string(info.param.sampleRate) + "Hz_" +
                                    std::to_string(static_cast<int>(info.param.frequencyHz)) + "Hz";
                         });

TEST(KWeighting, ShapeOfThePair)
{
    const auto gainDb = [](double frequencyHz)
    {
        return 10.0 *
               std::log10(BiquadPowerGain(KWeightShelfCoefficients(48000), frequencyHz, 48000) *
                          BiquadPowerGain(KWeightHighPassCoefficients(48000), frequencyHz, 48000));
    };
    EXPECT_NEAR(gainDb(1000.0), 0.438, 0.005) << "the pair should gain about 0.44 dB at 1 kHz";
    EXPECT_NEAR(gainDb(10000.0), 4.0, 0.1) << "the shelf should add about 4 dB up high";
    EXPECT_LT(gainDb(20.0), -10.0) << "the high-pass should cut deep bass";
}

TEST(KWeighting, RefusesARateBelowOne)
{
    EXPECT_THROW(KWeightChannel({0.5, 0.25}, 0), std::invalid_argument);
    EXPECT_THROW(KWeightChannel({0.5, 0.25}, -48000), std::invalid_argument);
}

TEST(KWeighting, FusedRunningSumsMatchTheChannelPath)
{
    // Noise that stops dead, so the filters' tails decay in silence as well.
    AudioBuffer buffer = StereoPinkNoise(44100, 1.0, 0.2, 5);
    buffer.samples.resize(buffer.samples.size() * 3, 0.0);

    std::vector<double> leftSums, rightSums;
    KWeightedCumulativeSquares(buffer.samples, buffer.sampleRate, leftSums, rightSums);
    for (size_t channel = 0; channel < 2; ++channel)
    {
        std::vector<double> samples(buffer.FrameCount());
        for (size_t i = 0; i < samples.size(); ++i)
        {
            samples[i] = buffer.samples[2 * i + channel];
        }
        const std::vector<double> expected =
            CumulativeSquares(KWeightChannel(samples, buffer.sampleRate));
        const std::vector<double>& actual = channel == 0 ? leftSums : rightSums;
        ASSERT_EQ(actual.size(), expected.size());
        for (size_t i = 0; i < actual.size(); ++i)
        {
            ASSERT_NEAR(actual[i], expected[i], 1e-12 * expected.back()) << "frame " << i;
        }
    }
}

} // namespace
