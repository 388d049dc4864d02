#include "addons/kit/denormal_flush.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace
{

// Volatile, so the products are worked out at run time under the mode of the
// moment, not folded by the compiler.
volatile double gSmall = 1e-300;
volatile double gTiny = 1e-10;
volatile double gSubnormal = 1e-310;

double SubnormalProduct()
{
    return gSmall * gTiny;
}

double SubnormalInputTimesOne()
{
    return gSubnormal * 1.0;
}

bool IsSubnormal(double value)
{
    return std::fpclassify(value) == FP_SUBNORMAL;
}

} // namespace

TEST(ScopedDenormalFlush, SubnormalsReadZeroInsideAndComeBackAfter)
{
    ASSERT_TRUE(IsSubnormal(SubnormalProduct())) << "the machine must start in its normal mode";
    {
        const ScopedDenormalFlush flush;
        EXPECT_EQ(SubnormalProduct(), 0.0) << "a subnormal result is flushed to zero";
        EXPECT_EQ(SubnormalInputTimesOne(), 0.0) << "a subnormal input reads as zero";
        EXPECT_DOUBLE_EQ(gSmall * 1e-7, 1e-307) << "normal numbers are kept";
    }
    EXPECT_TRUE(IsSubnormal(SubnormalProduct())) << "the caller's mode is back";
    EXPECT_TRUE(IsSubnormal(SubnormalInputTimesOne()));
}

TEST(ScopedDenormalFlush, RestoresTheCallersModeWhenTheGuardedCodeThrows)
{
    try
    {
        const ScopedDenormalFlush flush;
        ASSERT_EQ(SubnormalProduct(), 0.0);
        throw std::runtime_error("out of memory, say");
    }
    catch (const std::runtime_error&)
    {
    }
    EXPECT_TRUE(IsSubnormal(SubnormalProduct()));
}

TEST(ScopedDenormalFlush, NestedGuardsRestoreTheirOwnCallersMode)
{
    {
        const ScopedDenormalFlush outer;
        {
            const ScopedDenormalFlush inner;
        }
        EXPECT_EQ(SubnormalProduct(), 0.0) << "the inner guard must leave the outer's mode";
    }
    EXPECT_TRUE(IsSubnormal(SubnormalProduct()));
}
