#include "addons/kit/knee_laws.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(KneeLaws, SoftKneeMeetsTheHardLawAtItsEdges)
{
    for (double ratio : {1.0, 1.5, 3.0, 4.0, 20.0})
    {
        SCOPED_TRACE(ratio);
        const double slope = 1.0 - 1.0 / ratio;
        EXPECT_EQ(SoftKneeGainDb(-3.0, ratio), 0.0);
        EXPECT_EQ(HardKneeGainDb(-3.0, ratio), 0.0);
        EXPECT_DOUBLE_EQ(SoftKneeGainDb(3.0, ratio), -slope * 3.0);
        EXPECT_DOUBLE_EQ(HardKneeGainDb(3.0, ratio), -slope * 3.0);
        // The parabola's own value just inside the edge: no step, no kink.
        const double inside = 3.0 - 1e-7;
        EXPECT_NEAR(SoftKneeGainDb(inside, ratio), -slope * inside, 1e-12);
        EXPECT_NEAR(SoftKneeGainDb(-3.0 + 1e-4, ratio), 0.0, 1e-8);
    }
}

TEST(KneeLaws, GainAtLevelsAroundTheThreshold)
{
    struct Case
    {
        double overDb;
        double soft;
        double hard;
    };
    // Ratio 4: slope 0.75.
    const Case cases[] = {
        {-12.0, 0.0, 0.0},
        {-3.0, 0.0, 0.0},
        {0.0, -0.75 * 9.0 / 12.0, 0.0}, // the knee's middle, where the hard law has its corner
        {1.0, -0.75 * 16.0 / 12.0, -0.75},
        {12.0, -9.0, -9.0},
    };
    for (const Case& c : cases)
    {
        EXPECT_DOUBLE_EQ(SoftKneeGainDb(c.overDb, 4.0), c.soft) << c.overDb << " dB over";
        EXPECT_DOUBLE_EQ(HardKneeGainDb(c.overDb, 4.0), c.hard) << c.overDb << " dB over";
    }
    EXPECT_EQ(SoftKneeGainDb(30.0, 1.0), 0.0) << "ratio 1 never reduces";
}

TEST(KneeLaws, MadeUpGainIsTheLawsGainTimesTheMakeUp)
{
    EXPECT_EQ(MadeUpGain(0.0, 1.4125), 1.4125) << "exactly the make-up at 0 dB";
    EXPECT_DOUBLE_EQ(MadeUpGain(-20.0, 2.0), 0.2);
    EXPECT_DOUBLE_EQ(MadeUpGain(6.0, 1.0), std::pow(10.0, 0.3));
}

// A knee of any width meets the hard law at both of its edges, half the width
// either side of the threshold; 6 dB is the bus compressors' knee.
TEST(KneeLaws, ASoftKneeOfAnyWidthMeetsTheHardLawAtItsEdges)
{
    for (double width : {0.1, 6.0, 24.0})
    {
        SCOPED_TRACE(width);
        const double half = 0.5 * width;
        EXPECT_EQ(SoftKneeGainDb(-half, 3.0, width), 0.0);
        EXPECT_DOUBLE_EQ(SoftKneeGainDb(half, 3.0, width), HardKneeGainDb(half, 3.0));
        EXPECT_NEAR(SoftKneeGainDb(half - 1e-7, 3.0, width), HardKneeGainDb(half, 3.0), 1e-6);
        EXPECT_DOUBLE_EQ(SoftKneeGainDb(0.0, 3.0, width), -(2.0 / 3.0) * width / 8.0);
    }
    for (double over : {-4.0, -1.0, 0.0, 2.5, 9.0})
    {
        EXPECT_EQ(SoftKneeGainDb(over, 4.0, 6.0), SoftKneeGainDb(over, 4.0)) << over;
    }
}
