#include "addons/stereo/tape_motion.h"

#include "tests/support/addon_run.h"
#include "tests/support/mid_side_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

// On a side ramp S[j] = c j, at amount 1 and mix 1, the new side is the ramp
// read at j - delay, so the output gives the delay back. It never goes below 0
// (no advance) nor past the wow, flutter and drift depths together (11.2 +
// 3.92 + 4.9 frames at drift 1), and while the read position is at or before
// the first frame the side reads S[0].
TEST(TapeMotion, DelayStaysWithinItsDepthsAndHoldsTheStart)
{
    const int rate = 48000;
    const size_t frames = FramesIn(6.0, rate);
    const double c = 1e-5;
    std::vector<double> ramp(frames);
    for (size_t j = 0; j < frames; ++j)
    {
        ramp[j] = c * static_cast<double>(j);
    }
    for (double rateHz : {0.45, 2.0})
    {
        const AudioBuffer output = ProcessedBy<TapeMotion>(
            FromMidSide(std::vector<double>(frames, 0.0), ramp, rate),
            {{"amount", 1.0}, {"mix", 1.0}, {"drift", 1.0}, {"rate_hz", rateHz}});
        const std::vector<double> side = SideOf(output);
        EXPECT_EQ(side[0], 0.0);
        double deepest = 0.0;
        for (size_t j = 0; j < frames; ++j)
        {
            const double delay = static_cast<double>(j) - side[j] / c;
            ASSERT_GE(side[j], 0.0) << "frame " << j << " read before the first frame";
            ASSERT_GE(delay, -1e-6) << "frame " << j << " read ahead";
            ASSERT_LE(delay, 11.2 + 3.92 + 4.9 + 1e-6) << "frame " << j;
            deepest = std::max(deepest, delay);
        }
        EXPECT_GT(deepest, 10.0) << "the side hardly moved at " << rateHz << " Hz";
    }
}

// The default mix keeps 40 % of the entering frame.
TEST(TapeMotion, MixKeepsTheRestOfTheEnteringFrame)
{
    const AudioBuffer input = StereoNoise(48000, 0.2, 0.5, 8);
    const AudioBuffer full = ProcessedBy<TapeMotion>(input, {{"mix", 1.0}});
    const AudioBuffer blended = ProcessedBy<TapeMotion>(input);
    for (size_t i = 0; i < input.samples.size(); ++i)
    {
        ASSERT_NEAR(blended.samples[i], 0.6 * full.samples[i] + 0.4 * input.samples[i], 1e-12)
            << "value " << i;
    }
}

// Where the wow swings the sum of the depths below 0 the delay is 0 and the
// read lands on a whole frame; the next value, not finite here, has no part in
// it.
TEST(TapeMotion, AReadOnAWholeFrameIgnoresTheNextValue)
{
    const int rate = 48000;
    const AudioBuffer clean = StereoNoise(rate, 0.5, 0.5, 6);
    const AddonSetting setting = {{"amount", 1.0}, {"rate_hz", 2.0}, {"drift", 0.0}, {"mix", 1.0}};
    const size_t frame = FramesIn(0.375, rate); // the wow at its negative peak
    AudioBuffer input = clean;
    input.samples[2 * (frame + 1)] = std::numeric_limits<double>::infinity();
    const AudioBuffer output = ProcessedBy<TapeMotion>(input, setting);
    const AudioBuffer cleanOutput = ProcessedBy<TapeMotion>(clean, setting);
    EXPECT_EQ(output.samples[2 * frame], cleanOutput.samples[2 * frame]);
    EXPECT_EQ(output.samples[2 * frame + 1], cleanOutput.samples[2 * frame + 1]);
}
