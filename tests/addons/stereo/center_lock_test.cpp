#include "addons/stereo/center_lock.h"

#include "tests/support/addon_run.h"
#include "tests/support/mid_side_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

// The same narrowing step as the mono maker around its focus: a side far below
// the focus is pulled towards the centre, one far above it hardly, and the mid
// is never touched.
TEST(CenterLock, NarrowsTheSideBelowItsFocusOnly)
{
    struct Case
    {
        double sideHz;
        double lowestDb;
        double highestDb;
    };
    const Case cases[] = {
        {20.0, -30.0, -15.0}, // far below a 500 Hz focus: about the one-pole residual
        {15000.0, -0.5, 0.0}, // far above: only the low band's leak, under 0.3 dB
    };
    const int rate = 48000;
    const size_t frames = FramesIn(2.0, rate);
    const std::vector<double> mid = Sine(100.0, rate, frames, 0.4);
    for (const Case& c : cases)
    {
        const std::vector<double> side = Sine(c.sideHz, rate, frames, 0.4);
        const AudioBuffer output = ProcessedBy<CenterLock>(FromMidSide(mid, side, rate),
                                                           {{"amount", 1.0}, {"focus_hz", 500.0}});
        const double gainDb = SteadyStateGainDb(side, SideOf(output), FramesIn(0.5, rate));
        EXPECT_GE(gainDb, c.lowestDb) << c.sideHz << " Hz";
        EXPECT_LE(gainDb, c.highestDb) << c.sideHz << " Hz";
        EXPECT_LT(LargestDifference(MidOf(output), mid), 1e-12) << c.sideHz << " Hz";
    }
}
