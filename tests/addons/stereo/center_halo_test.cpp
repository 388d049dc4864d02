#include "addons/stereo/center_halo.h"

#include "tests/support/addon_run.h"
#include "tests/support/mid_side_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

// A mono input gains a side from its own high mid: the halo. Until d frames
// have passed, the delayed high mid is its first value, held, so at the first
// frame the halo is 0.65 a (1 - 0.42) times the first high-mid value.
TEST(CenterHalo, GivesAMonoInputAHaloFromItsHeldHighMid)
{
    const int rate = 48000;
    const size_t frames = FramesIn(0.1, rate);
    const std::vector<double> mid = Noise(frames, 0.5, 4);
    const AudioBuffer input = FromMidSide(mid, std::vector<double>(frames, 0.0), rate);
    const AddonSetting setting = {{"amount", 1.0}, {"crossover_hz", 2000.0}, {"halo_ms", 1.0}};
    const AudioBuffer output = ProcessedBy<CenterHalo>(input, setting);
    const std::vector<double> halo = SideOf(output);

    const double k = std::exp(-2.0 * std::numbers::pi * 2000.0 / rate);
    EXPECT_NEAR(halo[0], 0.65 * 0.58 * k * mid[0], 1e-12);
    EXPECT_GT(SteadyStateGainDb(mid, halo, 0), -30.0) << "the halo is audible";
    EXPECT_LT(LargestDifference(MidOf(output), mid), 1e-12);

    AddonSetting longer = setting;
    longer.back().second = 15.0;
    const std::vector<double> longHalo = SideOf(ProcessedBy<CenterHalo>(input, longer));
    for (size_t i = 0; i < 48; ++i) // 1 ms at 48 kHz
    {
        ASSERT_EQ(halo[i], longHalo[i]) << "frame " << i;
    }
}
