#include "addons/cleanup/sub_rumble_filter.h"

#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

namespace
{

class SubRumbleFilterAtRate : public ::testing::TestWithParam<int>
{
protected:
    // The gain at `frequencyHz` after two seconds of settling.
    double GainDb(double frequencyHz, const AddonSetting& setting = {}) const
    {
        const int rate = GetParam();
        const AudioBuffer input = StereoSine(frequencyHz, rate, 4.0, 0.5);
        return ToneGainDb(input, ProcessedBy<SubRumbleFilter>(input, setting), frequencyHz,
                          FramesIn(2.0, rate));
    }
};

} // namespace

// A second-order high-pass at Q = 1: flat well above the corner, at 0 dB on
// it (the gain there is Q), and falling 12 dB per octave below (5 Hz, a fifth
// of 25 Hz, is about 28 dB down).
TEST_P(SubRumbleFilterAtRate, CutsBelowTheCornerAndPassesTheMusic)
{
    EXPECT_NEAR(GainDb(1000.0), 0.0, 0.05);
    EXPECT_NEAR(GainDb(25.0), 0.0, 0.1);
    EXPECT_NEAR(GainDb(5.0), -27.8, 0.5);
    EXPECT_NEAR(GainDb(10.0, {{"cutoff_hz", 60.0}}), -31.0, 0.5);
}

INSTANTIATE_TEST_SUITE_P(Rates, SubRumbleFilterAtRate, AddonTestRates(), RateTestName);
