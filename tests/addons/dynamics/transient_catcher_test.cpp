#include "addons/dynamics/transient_catcher.h"

#include "tests/support/addon_run.h"
#include "tests/support/signals.h"
#include "tests/support/transient_signals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{

constexpr int kRate = 48000;

// A square wave whose level rises from nothing to `top` over `seconds`: far
// over the threshold at the end, but never 12 % over its own slow level.
AudioBuffer SlowlySwellingSquare(double seconds, double top)
{
    AudioBuffer buffer = StereoSquare(100.0, kRate, seconds, 1.0);
    const size_t frames = buffer.samples.size() / 2;
    for (size_t i = 0; i < frames; ++i)
    {
        const double level = top * static_cast<double>(i) / static_cast<double>(frames);
        buffer.samples[2 * i] *= level;
        buffer.samples[2 * i + 1] *= level;
    }
    return buffer;
}

// A full-scale click of 3 ms after a quiet square wave at 0.1, whose constant
// level lets each frame's gain be read back as output over input.
AudioBuffer ClickAfterQuietSquare(size_t& clickEnd)
{
    AudioBuffer buffer = StereoSquare(100.0, kRate, 0.8, 0.1);
    const size_t clickStart = FramesIn(0.3, kRate);
    clickEnd = clickStart + FramesIn(0.003, kRate);
    std::fill(buffer.samples.begin() + 2 * clickStart, buffer.samples.begin() + 2 * clickEnd, 1.0);
    return buffer;
}

} // namespace

TEST(TransientCatcher, PassesWhatNeverOvershootsUnchanged)
{
    struct Case
    {
        const char* material;
        AudioBuffer input;
    };
    const Case cases[] = {
        {"a sine under the threshold", StereoSine(220.0, kRate, 1.0, 0.8)},
        {"a square swelling past the threshold", SlowlySwellingSquare(2.0, 0.98)},
        {"quiet noise", StereoNoise(kRate, 1.0, 0.5, 13)},
    };
    for (const Case& c : cases)
    {
        const AudioBuffer output =
            ProcessedBy<TransientCatcher>(c.input, {{"amount", 1.0}, {"threshold", 0.82}});
        ExpectValuesFrom(
            c.input, output, 0, [](double x) { return x; }, 1e-15);
    }
}

// At the end of the click the fast follower stands at full scale, 0.18 over the
// threshold (the slow one is still far below): the gain has dropped to its
// target for that overshoot at once, and the amount sets how much of it
// applies.
TEST(TransientCatcher, PullsAClickDownAtOnce)
{
    size_t clickEnd = 0;
    const AudioBuffer input = ClickAfterQuietSquare(clickEnd);
    for (double amount : {1.0, 0.5})
    {
        const AudioBuffer output = ProcessedBy<TransientCatcher>(
            input, {{"amount", amount}, {"threshold", 0.82}, {"release_ms", 120.0}});
        const double target = 1.0 / (1.0 + 10.0 * amount * (1.0 - 0.82));
        const size_t last = 2 * (clickEnd - 1);
        EXPECT_NEAR(output.samples[last], 1.0 - (1.0 - target) * amount, 1e-4) << amount;
        EXPECT_EQ(output.samples[0], input.samples[0]) << "nothing is caught before the click";
    }
}

// Once the fast follower is back under the threshold the target is 1 and the
// gain closes the rest of the way by 1 - 1/e in each release time.
TEST(TransientCatcher, RecoversWithTheReleaseTime)
{
    size_t clickEnd = 0;
    const AudioBuffer input = ClickAfterQuietSquare(clickEnd);
    for (double releaseMs : {5.0, 30.0, 120.0})
    {
        const AudioBuffer output = ProcessedBy<TransientCatcher>(
            input, {{"amount", 1.0}, {"threshold", 0.82}, {"release_ms", releaseMs}});
        const auto gainAt = [&](size_t frame)
        { return output.samples[2 * frame] / input.samples[2 * frame]; };
        // 3 ms after the click the fast follower has fallen below 0.82.
        const size_t from = clickEnd + FramesIn(0.003, kRate);
        const double reductionBefore = 1.0 - gainAt(from);
        ASSERT_GT(reductionBefore, 0.01) << releaseMs;
        const double reductionAfter = 1.0 - gainAt(from + FramesIn(0.001 * releaseMs, kRate));
        EXPECT_NEAR(reductionAfter / reductionBefore, std::exp(-1.0), 1e-9) << releaseMs;
    }
}

// The followers and the gain are the add-on's own members, kept from one call
// to the next: right after a click the same instance starts its next buffer
// with the gain still down.
TEST(TransientCatcher, KeepsItsFollowersAndGainFromOneCallToTheNext)
{
    size_t clickEnd = 0;
    AudioBuffer clicked = ClickAfterQuietSquare(clickEnd);
    clicked.samples.resize(2 * (clickEnd + FramesIn(0.002, kRate)));
    const AudioBuffer quiet = StereoSquare(100.0, kRate, 0.1, 0.1);
    TransientCatcher used;
    ProcessedBy(used, clicked, {{"amount", 1.0}});
    EXPECT_LT(ProcessedBy(used, quiet).samples[0], 0.9 * quiet.samples[0]);
    EXPECT_EQ(ProcessedBy<TransientCatcher>(quiet, {{"amount", 1.0}}).samples[0], quiet.samples[0]);
}
