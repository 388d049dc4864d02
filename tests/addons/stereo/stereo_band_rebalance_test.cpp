#include "addons/stereo/stereo_band_rebalance.h"

#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/mid_side_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

namespace
{

class StereoBandRebalanceAtRate : public ::testing::TestWithParam<int>
{
};

} // namespace

// The three bands add up to the mid and the side again, so with every control
// at 0 the input comes back to rounding.
TEST_P(StereoBandRebalanceAtRate, ControlsAtZeroGiveTheInputBack)
{
    const AudioBuffer input = StereoNoise(GetParam(), 0.5, 0.8, 11);
    const AudioBuffer output = ProcessedBy<StereoBandRebalance>(
        input, {{"bass_to_mono", 0.0}, {"mid_bias", 0.0}, {"high_bias", 0.0}});
    EXPECT_LT(LargestDifference(output.samples, input.samples), 1e-12);
}

// Collapsing the bass takes away the side's low band, as far as two one-poles
// in series at 350 Hz separate a 40 Hz tone from what lies above them: the
// rest, S - S350, is about 13 dB down. A mid-only signal keeps its value.
TEST_P(StereoBandRebalanceAtRate, CollapsesTheBassSideAndKeepsTheMid)
{
    const int rate = GetParam();
    const size_t frames = FramesIn(2.0, rate);
    const std::vector<double> silent(frames, 0.0);
    const std::vector<double> tone = Sine(40.0, rate, frames, 0.5);
    const AddonSetting collapse = {{"bass_to_mono", 1.0}, {"mid_bias", 0.6}, {"high_bias", -0.4}};

    const AudioBuffer sideOut =
        ProcessedBy<StereoBandRebalance>(FromMidSide(silent, tone, rate), {{"bass_to_mono", 1.0}});
    const double cutDb = SteadyStateGainDb(tone, SideOf(sideOut), FramesIn(0.5, rate));
    RecordProperty("side_cut_40hz_db", std::to_string(cutDb));
    EXPECT_NEAR(cutDb, -12.9, 1.0);

    const AudioBuffer midOnly = FromMidSide(Noise(frames, 0.5, 5), silent, rate);
    const AudioBuffer midOut = ProcessedBy<StereoBandRebalance>(midOnly, collapse);
    EXPECT_LT(LargestDifference(midOut.samples, midOnly.samples), 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Rates, StereoBandRebalanceAtRate, AddonTestRates(), RateTestName);
