#include "addons/kit/held_start_delay.h"

#include <gtest/gtest.h>

#include <vector>

// Before the first value has come through, the delay gives that first value,
// not silence; after it, the value d frames back.
TEST(HeldStartDelay, HoldsTheFirstValueThenDelaysByWholeFrames)
{
    for (size_t delay : {1u, 3u, 7u})
    {
        HeldStartDelay line(delay);
        for (size_t i = 0; i < 20; ++i)
        {
            const double input = 5.0 + static_cast<double>(i);
            const double expected = i < delay ? 5.0 : input - static_cast<double>(delay);
            ASSERT_EQ(line.Step(input), expected) << "delay " << delay << ", frame " << i;
        }
    }
}

TEST(HeldStartDelay, ADelayOfZeroActsAsOneFrame)
{
    HeldStartDelay line(0);
    EXPECT_EQ(line.Step(2.0), 2.0);
    EXPECT_EQ(line.Step(3.0), 2.0);
    EXPECT_EQ(line.Step(4.0), 3.0);
}
