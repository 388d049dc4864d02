#include "addons/kit/level_floor.h"

#include <gtest/gtest.h>

#include <limits>

TEST(AddonLevelFloor, NeverGoesBelowTheAddonMinimum)
{
    struct Case
    {
        double runFloor;
        double expected;
    };
    const Case cases[] = {{1e-6, 1e-6},
                          {1e-12, 1e-9},
                          {0.0, 1e-9},
                          {-1.0, 1e-9},
                          {std::numeric_limits<double>::quiet_NaN(), 1e-9}};
    for (const Case& c : cases)
    {
        ProcessContext context;
        context.floor = c.runFloor;
        EXPECT_EQ(AddonLevelFloor(context), c.expected) << "run floor " << c.runFloor;
    }
}
