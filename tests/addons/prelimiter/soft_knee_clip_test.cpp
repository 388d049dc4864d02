#include "addons/prelimiter/soft_knee_clip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(SoftKneeClip, CurveAtTheNarrowestAndTheWidestKnee)
{
    struct Case
    {
        double v;
        double w;
        double expected;
    };
    const Case cases[] = {
        // No knee: a clamp at full scale.
        {0.3, 0.0, 0.3},
        {0.999, 0.0, 0.999},
        {1.5, 0.0, 1.0},
        {-7.0, 0.0, -1.0},
        {1.5, 0.001, 1.0},
        // Half of full scale: straight up to 0.5, a parabola to 1 - 0.75 w at
        // full scale, then exactly 1.
        {0.5, 0.5, 0.5},
        {0.75, 0.5, 0.53125},
        {-0.75, 0.5, -0.53125},
        {0.999, 0.5, 0.62450},
        {1.0, 0.5, 0.625},
        {1.001, 0.5, 1.0},
        {-1.001, 0.5, -1.0},
        {40.0, 0.5, 1.0},
    };
    for (const Case& c : cases)
    {
        EXPECT_NEAR(SoftKneeClip(c.v, c.w), c.expected, 1e-5) << c.v << " with knee " << c.w;
    }
}

// The parabola meets the straight line without a step but flat, rises with
// half the line's slope at full scale, and the curve then steps to the clip
// level.
TEST(SoftKneeClip, KneeStartsFlatAndStepsToTheClipLevel)
{
    for (double w : {0.01, 0.2, 0.5})
    {
        SCOPED_TRACE(w);
        const double start = 1.0 - w;
        const double h = 1e-7;
        EXPECT_EQ(SoftKneeClip(start, w), start);
        EXPECT_NEAR((SoftKneeClip(start + h, w) - start) / h, 0.0, 1e-4);
        EXPECT_NEAR((SoftKneeClip(1.0, w) - SoftKneeClip(1.0 - h, w)) / h, 0.5, 1e-4);
        EXPECT_NEAR(SoftKneeClip(1.0, w), 1.0 - 0.75 * w, 1e-15);
        EXPECT_EQ(SoftKneeClip(std::nextafter(1.0, 2.0), w), 1.0);
    }
}

TEST(SoftKneeClip, SilenceAndNotANumber)
{
    EXPECT_EQ(SoftKneeClip(0.0, 0.5), 0.0);
    EXPECT_EQ(SoftKneeClip(0.0, 0.0), 0.0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(SoftKneeClip(nan, 0.5)));
    EXPECT_TRUE(std::isnan(SoftKneeClip(nan, 0.0)));
}
