#include "addons/eq/dynamic_tilt.h"

#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{

class DynamicTiltAtRate : public ::testing::TestWithParam<int>
{
};

// A quadrature pair of amplitude A has the stereo RMS level A / sqrt(2) in
// every frame, so the follower settles on it.
double AmplitudeOfLevel(double level)
{
    return level * std::sqrt(2.0);
}

} // namespace

// At a followed level of 0.175 the tilt is zero: both gains are 1 and the
// signal passes to rounding.
TEST_P(DynamicTiltAtRate, ALevelSettledAtTheTurnOverPassesUnchanged)
{
    const int rate = GetParam();
    const AudioBuffer input = QuadraturePair(1000.0, rate, 2.0, AmplitudeOfLevel(0.175));
    const AudioBuffer output = ProcessedBy<DynamicTilt>(input, {{"amount", 1.0}});
    double largest = 0.0; // over the second second, forty attack times in
    for (size_t i = 2 * static_cast<size_t>(rate); i < input.samples.size(); ++i)
    {
        largest = std::max(largest, std::fabs(output.samples[i] - input.samples[i]));
    }
    EXPECT_LT(largest, 1e-12);
}

// Quiet passages tilt brighter (highs up, lows down), loud ones darker, never
// by more than 1.25 dB times the amount on either side of the pivot.
TEST_P(DynamicTiltAtRate, BrightensBelowTheTurnOverAndDarkensAbove)
{
    const int rate = GetParam();
    struct Case
    {
        double level;
        double toneHz;
        int direction; // +1 up, -1 down
    };
    const Case cases[] = {
        {0.01, 15000.0, +1}, {0.01, 60.0, -1}, {0.1, 15000.0, +1},
        {0.6, 15000.0, -1},  {0.6, 60.0, +1},  {0.3, 60.0, +1},
    };
    for (double amount : {0.5, 1.0})
    {
        for (const Case& c : cases)
        {
            const AudioBuffer input =
                QuadraturePair(c.toneHz, rate, 1.0, AmplitudeOfLevel(c.level));
            const double gainDb = ToneGainDb(
                input, ProcessedBy<DynamicTilt>(input, {{"amount", amount}}), c.toneHz, rate / 2);
            SCOPED_TRACE(::testing::Message()
                         << "level " << c.level << " at " << c.toneHz << " Hz, amount " << amount
                         << ": " << gainDb << " dB");
            EXPECT_GT(c.direction * gainDb, 0.0);
            EXPECT_LE(std::fabs(gainDb), 1.25 * amount + 1e-9);
        }
    }
    // Far from the turn-over the full 1.25 dB times the amount is nearly there.
    const AudioBuffer quiet = QuadraturePair(60.0, rate, 1.0, AmplitudeOfLevel(0.001));
    EXPECT_NEAR(
        ToneGainDb(quiet, ProcessedBy<DynamicTilt>(quiet, {{"amount", 1.0}}), 60.0, rate / 2),
        -1.25, 0.05);
}

INSTANTIATE_TEST_SUITE_P(Rates, DynamicTiltAtRate, AddonTestRates(), RateTestName);
