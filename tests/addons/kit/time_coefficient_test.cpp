#include "addons/kit/time_coefficient.h"

#include "addons/kit/level_follower.h"
#include "tests/support/addon_test_rates.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

class TimeCoefficientAtRate : public ::testing::TestWithParam<int>
{
};

} // namespace

// A time constant: a unit step followed with coef(10 ms) covers 1 - 1/e of its
// height in 10 ms, whatever the rate.
TEST_P(TimeCoefficientAtRate, StepCoversOneMinusOneOverEInItsTime)
{
    const int sampleRate = GetParam();
    const double coefficient = TimeCoefficient(10.0, sampleRate);
    const int frames = sampleRate / 100;
    double state = 0.0;
    for (int i = 0; i < frames; ++i)
    {
        FollowLevel(state, 1.0, coefficient, coefficient);
    }
    EXPECT_NEAR(state, 1.0 - std::exp(-1.0), 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Rates, TimeCoefficientAtRate, AddonTestRates(), RateTestName);

TEST(TimeCoefficient, TimeOrRateOfZeroOrLessFollowsAtOnce)
{
    struct Case
    {
        double timeMs;
        double sampleRateHz;
    };
    const Case cases[] = {{10.0, 0.0}, {10.0, -48000.0}, {0.0, 48000.0}, {-5.0, 48000.0}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(TimeCoefficient(c.timeMs, c.sampleRateHz), 0.0)
            << c.timeMs << " ms at " << c.sampleRateHz << " Hz";
    }
}
