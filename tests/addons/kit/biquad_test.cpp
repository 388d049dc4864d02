#include "addons/kit/biquad.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

std::vector<double> ImpulseResponse(const BiquadCoefficients& c, int length)
{
    BiquadState state;
    std::vector<double> response;
    for (int i = 0; i < length; ++i)
    {
        response.push_back(BiquadStep(state, i == 0 ? 1.0 : 0.0, c));
    }
    return response;
}

} // namespace

// The feed-forward taps reach one and two inputs back, the feedback taps one
// and two outputs back, and feedback is subtracted: a1 = -0.5 makes each
// output half the one before.
TEST(Biquad, TapsReachBackOneAndTwoFramesWithFeedbackSubtracted)
{
    struct Case
    {
        const char* what;
        BiquadCoefficients c;
        std::vector<double> expected;
    };
    const Case cases[] = {
        {"gain", {0.5, 0.0, 0.0, 0.0, 0.0}, {0.5, 0.0, 0.0, 0.0}},
        {"one back", {0.0, 1.0, 0.0, 0.0, 0.0}, {0.0, 1.0, 0.0, 0.0}},
        {"two back", {0.0, 0.0, 1.0, 0.0, 0.0}, {0.0, 0.0, 1.0, 0.0}},
        {"first-order feedback", {1.0, 0.0, 0.0, -0.5, 0.0}, {1.0, 0.5, 0.25, 0.125}},
        {"second-order feedback", {1.0, 0.0, 0.0, 0.0, -0.5}, {1.0, 0.0, 0.5, 0.0}},
        {"both", {1.0, 1.0, 0.0, -1.0, 0.5}, {1.0, 2.0, 1.5, 0.5}},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(ImpulseResponse(c.c, 4), c.expected) << c.what;
    }
}

// Direct form I keeps the signal's history rather than internal sums, so new
// coefficients take over from the inputs and outputs as they were.
TEST(Biquad, NewCoefficientsWorkOnTheHistoryAsItWas)
{
    BiquadState state;
    BiquadStep(state, 2.0, {1.0, 0.0, 0.0, 0.0, 0.0});
    BiquadStep(state, 3.0, {1.0, 0.0, 0.0, 0.0, 0.0});
    EXPECT_EQ(BiquadStep(state, 0.0, {0.0, 1.0, 1.0, 0.0, 0.0}), 5.0) << "x1 + x2";
    EXPECT_EQ(BiquadStep(state, 0.0, {0.0, 0.0, 0.0, -1.0, 0.0}), 5.0) << "-a1 y1";
}
