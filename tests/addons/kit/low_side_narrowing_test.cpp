#include "addons/kit/low_side_narrowing.h"

#include <gtest/gtest.h>

#include <vector>

// Frame by frame: the side less amount times its one-pole low band, the mid as
// it was, the filter state carried on, and a trailing odd value untouched.
TEST(NarrowLowSide, TakesTheLowBandOutOfTheSideOnly)
{
    const double k = 0.5;
    std::vector<double> values = {1.0, -1.0, 3.0, 1.0, 0.25};
    double state = 0.0;
    NarrowLowSide(values, state, k, 1.0);
    // Frame 0: M 0, S 1, low 0.5, S' 0.5. Frame 1: M 2, S 1, low 0.75, S' 0.25.
    EXPECT_EQ(values, (std::vector<double>{0.5, -0.5, 2.25, 1.75, 0.25}));
    EXPECT_EQ(state, 0.75);
}
