#include "addons/kit/moving_average_smooth.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(MovingAverageSmooth, RadiusRoundsHalfAwayFromZeroAndNeverFallsBelowZero)
{
    const std::pair<double, int> cases[] = {{0.0, 0}, {0.49, 0},  {0.5, 1},  {1.0, 1}, {2.5, 3},
                                            {3.0, 3}, {12.0, 12}, {-3.0, 0}, {NAN, 0}};
    for (const auto& [bins, radius] : cases)
    {
        EXPECT_EQ(SmoothingRadius(bins), radius) << bins;
    }
}

TEST(MovingAverageSmooth, EachValueBecomesTheMeanOfItsShrinkingWindow)
{
    const std::vector<double> raw = {1.0, 4.0, 7.0, 2.0, 10.0};
    struct Case
    {
        int radius;
        std::vector<double> expected;
    };
    const Case cases[] = {
        {-1, raw},
        {0, raw},
        // Ends: the first value takes values 0 and 1, the last its neighbour and itself.
        {1, {2.5, 4.0, 13.0 / 3.0, 19.0 / 3.0, 6.0}},
        {2, {4.0, 3.5, 4.8, 5.75, 19.0 / 3.0}},
        // A radius beyond the vector: every value the mean of all of them.
        {12, {4.8, 4.8, 4.8, 4.8, 4.8}},
    };
    std::vector<double> prefix;
    for (const Case& c : cases)
    {
        std::vector<double> values = raw;
        MovingAverageSmooth(values, c.radius, prefix);
        ASSERT_EQ(values.size(), c.expected.size());
        for (std::size_t i = 0; i < values.size(); ++i)
        {
            EXPECT_NEAR(values[i], c.expected[i], 1e-12)
                << "radius " << c.radius << ", value " << i;
        }
        std::vector<double> ownSpace = raw;
        MovingAverageSmooth(ownSpace, c.radius);
        EXPECT_EQ(ownSpace, values) << "radius " << c.radius;
    }
    std::vector<double> empty;
    MovingAverageSmooth(empty, 3);
    EXPECT_TRUE(empty.empty());
}

// Unity gains stay exactly unity: a smoothed run of 1s is not nudged off 1 by
// the prefix sums.
TEST(MovingAverageSmooth, ConstantValuesStayExactlyAsTheyAre)
{
    std::vector<double> values(2049, 1.0);
    MovingAverageSmooth(values, 12);
    for (double value : values)
    {
        ASSERT_EQ(value, 1.0);
    }
}
