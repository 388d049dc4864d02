#include "engine/dsp/zero_phase_one_pole.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

// A smoothing one-pole as the limiter uses it: b0 = 1 - p, a1 = -p.
constexpr double kPole = 0.9;
constexpr double kB0 = 1.0 - kPole;
constexpr double kA1 = -kPole;

} // namespace

TEST(ZeroPhaseOnePole, ConstantPassesUnbentUpToTheEnds)
{
    for (const size_t length : {1u, 5u, 8u, 200u})
    {
        const std::vector<double> x(length, 0.25);
        const std::vector<double> y = ZeroPhaseOnePole(x, kB0, 0.0, kA1);
        ASSERT_EQ(y.size(), length);
        for (const double value : y)
        {
            EXPECT_NEAR(value, 0.25, 1e-12) << "constant of length " << length << " was bent";
        }
    }
}

TEST(ZeroPhaseOnePole, SymmetricPulseStaysCentredWithoutDelay)
{
    std::vector<double> x(401, 0.0);
    for (size_t i = 190; i <= 210; ++i)
    {
        x[i] = 1.0;
    }
    const std::vector<double> y = ZeroPhaseOnePole(x, kB0, 0.0, kA1);
    for (size_t k = 1; k < 150; ++k)
    {
        EXPECT_NEAR(y[200 - k], y[200 + k], 1e-9) << "response leans to one side at " << k;
    }
    EXPECT_EQ(std::max_element(y.begin(), y.end()) - y.begin(), 200);
    EXPECT_LT(y[200], 1.0);
    EXPECT_GT(y[185], 0.0) << "a zero-phase smoother reaches ahead of the pulse";
}

TEST(ZeroPhaseOnePole, EmptyInputGivesEmptyOutput)
{
    EXPECT_TRUE(ZeroPhaseOnePole({}, kB0, 0.0, kA1).empty());
}
