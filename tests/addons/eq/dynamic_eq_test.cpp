#include "addons/eq/dynamic_eq.h"

#include "engine/decibels.h"
#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

class DynamicEqAtRate : public ::testing::TestWithParam<int>
{
};

// The band's stereo RMS level of a quadrature pair at amplitude A is
// A / sqrt(2) in every frame; this is the amplitude that puts it overDb above
// the default threshold of -24 dB.
double AmplitudeOver(double overDb)
{
    return std::sqrt(2.0) * DbToGain(-24.0 + overDb);
}

} // namespace

// At its centre the band-pass passes the tone whole, so the tone takes the
// smoothed gain itself: the full range from 18 dB over the threshold on, and
// in proportion below that; a positive range lifts the same way.
TEST_P(DynamicEqAtRate, MovesTheCentreByTheRangeEighteenDbOverTheThreshold)
{
    const int rate = GetParam();
    struct Case
    {
        double rangeDb;
        double overDb;
        double expectedDb;
    };
    const Case cases[] = {
        {-6.0, 18.0, -6.0},   {-6.0, 24.0, -6.0}, {-6.0, 9.0, -3.0},
        {-12.0, 30.0, -12.0}, {6.0, 18.0, 6.0},   {4.0, 4.5, 1.0},
    };
    for (const Case& c : cases)
    {
        // A lift shrinks the band's level as it grows, so the level is judged
        // on the input; a steady tone sees the same level all along.
        const AudioBuffer input = QuadraturePair(3200.0, rate, 2.0, AmplitudeOver(c.overDb));
        const AudioBuffer output = ProcessedBy<DynamicEq>(input, {{"range_db", c.rangeDb}});
        EXPECT_NEAR(ToneGainDb(input, output, 3200.0, rate), c.expectedDb, 0.1)
            << "range " << c.rangeDb << " dB, " << c.overDb << " dB over";
        EXPECT_NEAR(ToneGainDb(input, output, 3200.0, rate, 1), c.expectedDb, 0.1);
    }
}

// The Q sets how far the band reaches: an octave above the centre, a wide
// band (Q 0.3) still cuts a loud tone, a narrow one (Q 6) barely sees it.
TEST_P(DynamicEqAtRate, TheQSetsHowFarTheBandReaches)
{
    const int rate = GetParam();
    const AudioBuffer input = QuadraturePair(2000.0, rate, 2.0, 0.9);
    const AddonSetting band = {{"band_freq_hz", 1000.0}, {"range_db", -12.0}};
    AddonSetting wide = band;
    wide.push_back({"band_q", 0.3});
    AddonSetting narrow = band;
    narrow.push_back({"band_q", 6.0});
    const double wideDb = ToneGainDb(input, ProcessedBy<DynamicEq>(input, wide), 2000.0, rate);
    const double narrowDb = ToneGainDb(input, ProcessedBy<DynamicEq>(input, narrow), 2000.0, rate);
    EXPECT_LT(wideDb, -6.0);
    EXPECT_GT(narrowDb, -1.0);
}

// A lift rises at the release speed and a cut falls at the attack speed: the
// smoother takes the attack time whenever the gain stands above its target.
TEST_P(DynamicEqAtRate, ACutFallsAtTheAttackSpeedAndALiftRisesAtTheRelease)
{
    const int rate = GetParam();
    const AudioBuffer input = QuadraturePair(3200.0, rate, 0.5, AmplitudeOver(24.0));
    const AddonSetting times = {{"attack_ms", 5.0}, {"release_ms", 200.0}};
    // After 25 ms, five attack times but an eighth of a release time.
    const size_t probe = FramesIn(0.025, rate);
    for (double rangeDb : {-6.0, 6.0})
    {
        AddonSetting setting = times;
        setting.push_back({"range_db", rangeDb});
        const AudioBuffer output = ProcessedBy<DynamicEq>(input, setting);
        const double ratio = std::hypot(output.samples[2 * probe], output.samples[2 * probe + 1]) /
                             std::hypot(input.samples[2 * probe], input.samples[2 * probe + 1]);
        const double reachedDb = GainToDb(ratio, 0.0);
        if (rangeDb < 0.0)
        {
            EXPECT_LT(reachedDb, -5.0) << "a cut is nearly there";
        }
        else
        {
            EXPECT_LT(reachedDb, 2.0) << "a lift is still on its way";
            EXPECT_GT(reachedDb, 0.0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, DynamicEqAtRate, AddonTestRates(), RateTestName);
