#include "addons/stereo/low_high_band_stereo_shaper.h"

#include "tests/support/addon_run.h"
#include "tests/support/mid_side_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>

// The low side takes the low width and the high side the high width, around
// the crossover's one-pole; the mix blends the wet frame with the input.
TEST(LowHighBandStereoShaper, ScalesEachBandsSideByItsWidth)
{
    struct Case
    {
        double sideHz;
        double lowWidth;
        double highWidth;
        double mix;
        double expectedDb;
        double toleranceDb;
    };
    const Case cases[] = {
        {12000.0, 1.0, 1.8, 1.0, 20.0 * std::log10(1.8), 0.2},
        {30.0, 0.5, 1.0, 1.0, 20.0 * std::log10(0.5), 0.2},
        {30.0, 0.0, 1.0, 1.0, -18.5, 0.5}, // the high-pass residual of a 250 Hz one-pole
        {12000.0, 1.0, 1.8, 0.5, 20.0 * std::log10(1.4), 0.2},
    };
    const int rate = 48000;
    const size_t frames = FramesIn(2.0, rate);
    const std::vector<double> mid = Sine(1000.0, rate, frames, 0.3);
    for (const Case& c : cases)
    {
        const std::vector<double> side = Sine(c.sideHz, rate, frames, 0.3);
        const AudioBuffer output = ProcessedBy<LowHighBandStereoShaper>(
            FromMidSide(mid, side, rate), {{"low_width", c.lowWidth},
                                           {"high_width", c.highWidth},
                                           {"crossover_hz", 250.0},
                                           {"mix", c.mix}});
        EXPECT_NEAR(SteadyStateGainDb(side, SideOf(output), FramesIn(0.5, rate)), c.expectedDb,
                    c.toleranceDb)
            << c.sideHz << " Hz, widths " << c.lowWidth << "/" << c.highWidth << ", mix " << c.mix;
        EXPECT_LT(LargestDifference(MidOf(output), mid), 1e-12);
    }
}
