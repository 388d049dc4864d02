#include "addons/kit/transient_index.h"

#include <gtest/gtest.h>

#include <limits>

TEST(TransientIndex, ReadsAttacksAsPositiveAndDecaysAsNegative)
{
    struct Case
    {
        double fast;
        double slow;
        double offset;
        double expected;
    };
    const Case cases[] = {
        {0.5, 0.5, 0.05, 0.0},         // steady: both followers agree
        {0.6, 0.45, 0.05, 0.3},        // an attack: 0.15 over a level of 0.5
        {0.3, 0.45, 0.05, -0.3},       // a decay
        {0.9, 0.1, 0.05, 1.0},         // a hit out of a quiet passage, held to 1
        {0.0, 0.9, 0.05, -0.9 / 0.95}, // silence after a loud passage stays above -1
        {0.02, 0.0, 0.05, 0.4},        // out of silence the offset is the level
        {0.0, 0.0, 0.0, 0.0},          // silent followers without an offset
        {0.2, 0.0, -0.5, 1.0},         // a level under 1e-6 counts as 1e-6
    };
    for (const Case& c : cases)
    {
        EXPECT_NEAR(TransientIndex(c.fast, c.slow, c.offset), c.expected, 1e-15)
            << "fast " << c.fast << ", slow " << c.slow << ", offset " << c.offset;
    }
}

TEST(TransientIndex, TheOffsetQuietsSmallDifferences)
{
    // The same relative attack, 50 % over the slow level, loud and quiet.
    EXPECT_GT(TransientIndex(0.6, 0.4, 0.05), 0.44);
    EXPECT_LT(TransientIndex(0.006, 0.004, 0.05), 0.04);
}

TEST(TransientIndex, AFollowerThatIsNotANumberReadsMinusOne)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(TransientIndex(nan, 0.5, 0.05), -1.0);
    EXPECT_EQ(TransientIndex(0.5, nan, 0.05), -1.0);
    EXPECT_EQ(TransientIndex(inf, inf, 0.05), -1.0);
    EXPECT_EQ(TransientIndex(inf, 0.5, 0.05), 1.0);
}
