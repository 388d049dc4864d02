#include "addons/stereo/ambient_widener.h"

#include "tests/support/addon_run.h"
#include "tests/support/mid_side_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

// Until d frames have passed the delayed high side is its first value, held
// (and at frame d it is that value again, undelayed): two delays give the same
// output up to the shorter one and part after it, and at the first
// frame the bloom is 0.85 a (1 - 0.38) times the first high-side value.
TEST(AmbientWidener, DelayedBandHoldsItsFirstValue)
{
    const int rate = 48000;
    const size_t frames = FramesIn(0.1, rate);
    const std::vector<double> side = Noise(frames, 0.5, 9);
    const AudioBuffer input = FromMidSide(Noise(frames, 0.5, 10), side, rate);
    const AddonSetting shortDelay = {
        {"amount", 1.0}, {"crossover_hz", 3000.0}, {"decorrelation_ms", 1.0}};
    AddonSetting longDelay = shortDelay;
    longDelay.back().second = 20.0;
    const std::vector<double> shortSide = SideOf(ProcessedBy<AmbientWidener>(input, shortDelay));
    const std::vector<double> longSide = SideOf(ProcessedBy<AmbientWidener>(input, longDelay));

    const size_t d = 48; // 1 ms at 48 kHz
    for (size_t i = 0; i <= d; ++i)
    {
        ASSERT_EQ(shortSide[i], longSide[i]) << "frame " << i;
    }
    EXPECT_NE(shortSide[d + 1], longSide[d + 1]);

    const double k = std::exp(-2.0 * std::numbers::pi * 3000.0 / rate);
    EXPECT_NEAR(shortSide[0], side[0] + 0.85 * 0.62 * k * side[0], 1e-12);
}

TEST(AmbientWidener, WidensTheHighSideOnly)
{
    const int rate = 48000;
    const size_t frames = FramesIn(1.0, rate);
    const std::vector<double> silent(frames, 0.0);
    for (double hz : {60.0, 9000.0})
    {
        const std::vector<double> side = Sine(hz, rate, frames, 0.3);
        const AudioBuffer output =
            ProcessedBy<AmbientWidener>(FromMidSide(silent, side, rate), {{"amount", 1.0}});
        const double changeDb = SteadyStateGainDb(side, SideOf(output), FramesIn(0.2, rate));
        if (hz < 1000.0)
        {
            EXPECT_NEAR(changeDb, 0.0, 0.3) << hz << " Hz";
        }
        else
        {
            EXPECT_GT(std::fabs(changeDb), 0.5) << hz << " Hz";
        }
    }
}
