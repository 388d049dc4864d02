#include "addons/stereo/stereo_widener.h"

#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/mid_side_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

class StereoWidenerAtRate : public ::testing::TestWithParam<int>
{
};

} // namespace

// At full amount the side above the protect corner grows by 2.25, the side far
// below it hardly at all, and the mid is never touched.
TEST_P(StereoWidenerAtRate, GrowsTheHighSideAndKeepsTheLowSideAndTheMid)
{
    struct Case
    {
        double sideHz;
        double lowestDb;
        double highestDb;
    };
    const Case cases[] = {
        {8000.0, 20.0 * std::log10(2.25) - 0.2, 20.0 * std::log10(2.25) + 0.2},
        {20.0, 0.0, 0.5},
    };
    const int rate = GetParam();
    const size_t frames = FramesIn(2.0, rate);
    const std::vector<double> mid = Sine(440.0, rate, frames, 0.3);
    for (const Case& c : cases)
    {
        const std::vector<double> side = Sine(c.sideHz, rate, frames, 0.3);
        const AudioBuffer output =
            ProcessedBy<StereoWidener>(FromMidSide(mid, side, rate), {{"amount", 1.0}});
        const double gainDb = SteadyStateGainDb(side, SideOf(output), FramesIn(0.5, rate));
        EXPECT_GE(gainDb, c.lowestDb) << c.sideHz << " Hz";
        EXPECT_LE(gainDb, c.highestDb) << c.sideHz << " Hz";
        EXPECT_LT(LargestDifference(MidOf(output), mid), 1e-12) << c.sideHz << " Hz";
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, StereoWidenerAtRate, AddonTestRates(), RateTestName);
