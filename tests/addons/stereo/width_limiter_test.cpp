#include "addons/stereo/width_limiter.h"

#include "tests/support/addon_run.h"
#include "tests/support/mid_side_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{

constexpr int kRate = 48000;

// The running side gain as the output shows it: S' = (1 - (1 - g) a) S.
double SideGain(double inSide, double outSide, double amount)
{
    return 1.0 - (1.0 - outSide / inSide) / amount;
}

AudioBuffer ProcessedWithFloor(const AudioBuffer& input, double floor)
{
    WidthLimiter limiter;
    AudioBuffer buffer = input;
    ProcessContext context;
    context.sampleRate = buffer.sampleRate;
    context.floor = floor;
    limiter.process(buffer, context);
    return buffer;
}

} // namespace

// With no mid the side is far over any threshold, so the gain falls to almost
// 0 at the first frame and the side comes out at about (1 - amount).
TEST(WidthLimiter, ScalesAPureSideAtOnce)
{
    const size_t frames = FramesIn(0.2, kRate);
    const std::vector<double> side = Sine(500.0, kRate, frames, 0.5, 0.3);
    const AudioBuffer output = ProcessedBy<WidthLimiter>(
        FromMidSide(std::vector<double>(frames, 0.0), side, kRate), {{"amount", 0.6}});
    const std::vector<double> outSide = SideOf(output);
    EXPECT_NEAR(outSide[0], 0.4 * side[0], 1e-6);
    EXPECT_NEAR(SteadyStateGainDb(side, outSide, 0), 20.0 * std::log10(0.4), 0.01);
    EXPECT_LT(LargestDifference(MidOf(output), std::vector<double>(frames, 0.0)), 1e-15);
}

TEST(WidthLimiter, LeavesASideUnderThresholdTimesTheMidAlone)
{
    const size_t frames = FramesIn(0.2, kRate);
    const std::vector<double> mid = Sine(300.0, kRate, frames, 0.6);
    std::vector<double> side = mid;
    for (double& value : side)
    {
        value *= 0.7; // under the 0.75 threshold
    }
    const AudioBuffer input = FromMidSide(mid, side, kRate);
    const AudioBuffer output = ProcessedBy<WidthLimiter>(input, {{"amount", 1.0}});
    EXPECT_LT(LargestDifference(output.samples, input.samples), 1e-15);
}

// After a passage with no mid the gain sits near 0; once the side falls under
// the threshold it climbs back with the release coefficient, 1 - 1/e of the way
// in one release time, and never faster than that one-pole.
TEST(WidthLimiter, RecoversWithTheReleaseOnly)
{
    const double releaseMs = 40.0;
    const size_t wide = FramesIn(0.1, kRate);
    const size_t frames = wide + FramesIn(0.3, kRate);
    std::vector<double> mid(frames, 0.5);
    std::vector<double> side(frames, 0.01);
    std::fill(mid.begin(), mid.begin() + wide, 0.0);
    std::fill(side.begin(), side.begin() + wide, 0.4);
    const AudioBuffer output = ProcessedBy<WidthLimiter>(
        FromMidSide(mid, side, kRate), {{"amount", 1.0}, {"release_ms", releaseMs}});
    const std::vector<double> outSide = SideOf(output);

    const double held = SideGain(side[wide - 1], outSide[wide - 1], 1.0);
    EXPECT_LT(held, 1e-5);
    const double r = std::exp(-1.0 / (releaseMs * 0.001 * kRate));
    for (size_t n = 0; wide + n < frames; ++n)
    {
        const double gain = SideGain(side[wide + n], outSide[wide + n], 1.0);
        const double onePole = 1.0 - (1.0 - held) * std::pow(r, n + 1.0);
        ASSERT_LE(gain, onePole + 1e-9) << "frame " << n << " after the wide passage";
    }
    const size_t releaseFrames = FramesIn(releaseMs * 0.001, kRate);
    EXPECT_NEAR(SideGain(side[wide + releaseFrames], outSide[wide + releaseFrames], 1.0),
                1.0 - std::exp(-1.0), 0.01);
}

// The run's level floor may be 0 or not a number; the limiter never divides by
// less than 1e-9.
TEST(WidthLimiter, WorksWithALevelFloorOfAtLeastOneBillionth)
{
    const AudioBuffer input = StereoNoise(kRate, 0.1, 0.5, 3);
    const AudioBuffer expected = ProcessedWithFloor(input, 1e-9);
    for (double floor : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN()})
    {
        const AudioBuffer output = ProcessedWithFloor(input, floor);
        EXPECT_TRUE(output.samples == expected.samples) << "floor " << floor;
    }
}
