#include "addons/dynamics/transparent_bus_compressor.h"

#include "engine/decibels.h"
#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{

class TransparentBusCompressorAtRate : public ::testing::TestWithParam<int>
{
};

} // namespace

// Whatever the material, a stereo RMS level that never passes -14 dB keeps the
// follower at or below it, so the gain stays 1.
TEST_P(TransparentBusCompressorAtRate, NeverReducesMaterialAtOrBelowTheThreshold)
{
    const int rate = GetParam();
    AudioBuffer swelling = SwellingNoise(rate, 4.0, 5);
    const double peak = std::fabs(
        *std::max_element(swelling.samples.begin(), swelling.samples.end(),
                          [](double a, double b) { return std::fabs(a) < std::fabs(b); }));
    for (double& value : swelling.samples)
    {
        value *= DbToGain(-14.0) / peak;
    }
    const AudioBuffer atThreshold =
        QuadraturePair(440.0, rate, 1.0, std::sqrt(2.0) * DbToGain(-14.0));
    for (const AudioBuffer& input : {swelling, atThreshold})
    {
        const AudioBuffer output =
            ProcessedBy<TransparentBusCompressor>(input, {{"amount", 1.0}, {"mix", 0.7}});
        // A level sitting exactly on the threshold may read a rounding error
        // above it; nothing more than that may come off.
        ExpectValuesFrom(
            input, output, 0, [](double x) { return x; }, 1e-13);
    }
}

// Above the threshold the hard knee's slope is scaled by the amount twice:
// through the ratio amount + 1.5 and again as a factor.
TEST_P(TransparentBusCompressorAtRate, SettlesOnTheDoublyScaledSlope)
{
    struct Case
    {
        double rmsLevelDb;
        double amount;
        double mix;
        double expectedDb;
    };
    const Case cases[] = {
        {-2.0, 1.0, 1.0, -0.6 * 12.0},
        {-2.0, 0.5, 1.0, -0.5 * 12.0 * 0.5},
        {-8.0, 0.25, 1.0, -(1.0 - 1.0 / 1.75) * 6.0 * 0.25},
        {-2.0, 1.0, 0.5, GainToDb(0.5 * DbToGain(-7.2) + 0.5, 0.0)},
    };
    const int rate = GetParam();
    for (const Case& c : cases)
    {
        const AudioBuffer input =
            QuadraturePair(440.0, rate, 2.0, std::sqrt(2.0) * DbToGain(c.rmsLevelDb));
        const AudioBuffer output =
            ProcessedBy<TransparentBusCompressor>(input, {{"amount", c.amount}, {"mix", c.mix}});
        EXPECT_NEAR(SteadyStateGainDb(input, output, FramesIn(1.0, rate)), c.expectedDb, 0.02)
            << c.rmsLevelDb << " dB at amount " << c.amount << ", mix " << c.mix;
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, TransparentBusCompressorAtRate, AddonTestRates(), RateTestName);
