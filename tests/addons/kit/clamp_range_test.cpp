#include "addons/kit/clamp_range.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(ClampToRange, KeepsTheValueWithinItsLimits)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case
    {
        double value;
        double lowest;
        double highest;
        double expected;
    };
    const Case cases[] = {
        {0.5, 0.0, 1.0, 0.5},
        {-2.0, 0.0, 1.0, 0.0},
        {7.0, 0.0, 1.0, 1.0},
        {inf, 20.0, 400.0, 400.0},
        {-inf, 20.0, 400.0, 20.0},
        {nan, 20.0, 400.0, 20.0},
        // Crossed limits (20 Hz against 0.45 of a 10 Hz rate): the upper one wins.
        {1000.0, 20.0, 4.5, 4.5},
        {10.0, 20.0, 4.5, 4.5},
        {1.0, 20.0, 4.5, 4.5},
        {nan, 20.0, 4.5, 4.5},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(ClampToRange(c.value, c.lowest, c.highest), c.expected)
            << c.value << " into [" << c.lowest << ", " << c.highest << "]";
    }
}
