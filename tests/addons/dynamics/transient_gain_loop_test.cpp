#include "addons/dynamics/transient_gain_loop.h"

#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{

constexpr TransientFollowerTimes kTimes{
    .fastAttackMs = 0.5, .fastReleaseMs = 20.0, .slowAttackMs = 18.0, .slowReleaseMs = 220.0};

// Left at level, right at minus half of it: the stereo peak is the level.
std::vector<double> Step(std::size_t frames, double level)
{
    std::vector<double> x(2 * frames);
    for (std::size_t i = 0; i < frames; ++i)
    {
        x[2 * i] = level;
        x[2 * i + 1] = -0.5 * level;
    }
    return x;
}

class TransientGainLoopAtRate : public ::testing::TestWithParam<int>
{
};

} // namespace

// Each follower is a time constant on the frame's stereo peak: one attack time
// into a step it has covered 1 - 1/e of the way, one release time after the
// step it has fallen to 1/e of where it stood.
TEST_P(TransientGainLoopAtRate, FollowersTrackTheStereoPeakWithTheirTimes)
{
    const int rate = GetParam();
    const double level = 0.8;
    const std::size_t stepFrames = FramesIn(0.5, rate);
    std::vector<double> x = Step(stepFrames, level);
    x.resize(2 * (stepFrames + FramesIn(0.5, rate)), 0.0);
    std::vector<double> fast;
    std::vector<double> slow;
    ShapeTransients(x, rate, {.times = kTimes, .lowestGain = 0.0, .highestGain = 2.0, .mix = 1.0},
                    [&](double f, double s)
                    {
                        fast.push_back(f);
                        slow.push_back(s);
                        return 1.0;
                    });
    ASSERT_EQ(fast.size(), x.size() / 2);
    // Frame n is the (n + 1)-th update.
    const auto after = [&](double ms) { return FramesIn(0.001 * ms, rate) - 1; };
    const double risen = level * (1.0 - std::exp(-1.0));
    EXPECT_NEAR(fast[after(kTimes.fastAttackMs)], risen, 0.01 * level);
    EXPECT_NEAR(slow[after(kTimes.slowAttackMs)], risen, 0.002 * level);
    EXPECT_NEAR(fast[stepFrames - 1], level, 1e-12);
    EXPECT_NEAR(slow[stepFrames - 1], level, 1e-9);
    const double fallen = level * std::exp(-1.0);
    EXPECT_NEAR(fast[stepFrames + after(kTimes.fastReleaseMs)], fallen, 0.002 * level);
    EXPECT_NEAR(slow[stepFrames + after(kTimes.slowReleaseMs)], fallen, 0.002 * level);
}

INSTANTIATE_TEST_SUITE_P(Rates, TransientGainLoopAtRate, AddonTestRates(), RateTestName);

TEST(TransientGainLoop, TheGainIsHeldToItsLimitsAndMixedWithTheDrySignal)
{
    struct Case
    {
        double law;
        double mix;
        double expectedGain;
    };
    const Case cases[] = {
        {1.3, 1.0, 1.3}, {5.0, 1.0, 1.6},   {-3.0, 1.0, 0.5},
        {5.0, 0.5, 1.3}, {0.8, 0.25, 0.95}, {7.0, 0.0, 1.0},
    };
    for (const Case& c : cases)
    {
        std::vector<double> x = Step(100, 0.4);
        const std::vector<double> dry = x;
        ShapeTransients(x, 48000,
                        {.times = kTimes, .lowestGain = 0.5, .highestGain = 1.6, .mix = c.mix},
                        [&](double, double) { return c.law; });
        for (std::size_t i = 0; i < x.size(); ++i)
        {
            ASSERT_NEAR(x[i], c.expectedGain * dry[i], 1e-15)
                << "law " << c.law << ", mix " << c.mix << ", value " << i;
        }
    }
}

TEST(TransientGainLoop, ATrailingOddValueIsNotTouched)
{
    std::vector<double> x = Step(10, 0.4);
    x.push_back(0.3);
    ShapeTransients(x, 48000, {.times = kTimes, .lowestGain = 0.5, .highestGain = 2.0, .mix = 1.0},
                    [](double, double) { return 2.0; });
    EXPECT_EQ(x.back(), 0.3);
    EXPECT_EQ(x.front(), 0.8);
}
