#include "addons/prelimiter/first_order_all_pass.h"

#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace
{

struct Response
{
    double gainDb;
    double lagDegrees; // 0 to 360
};

// A one-second sine of whole cycles through one section, read after its
// start-up by correlating with the sine and the cosine.
Response MeasureSection(double hz, int rate, double c)
{
    const size_t skip = FramesIn(0.25, rate);
    const std::vector<double> input = Sine(hz, rate, skip + FramesIn(1.0, rate), 1.0);
    FirstOrderAllPass section;
    std::vector<double> output(input.size());
    for (size_t i = 0; i < input.size(); ++i)
    {
        output[i] = section.Step(input[i], c);
    }
    double inPhase = 0.0;
    double quadrature = 0.0;
    for (size_t i = skip; i < input.size(); ++i)
    {
        const double angle = 2.0 * std::numbers::pi * hz * static_cast<double>(i) / rate;
        inPhase += output[i] * std::sin(angle);
        quadrature += output[i] * std::cos(angle);
    }
    const double lead = std::atan2(quadrature, inPhase) * 180.0 / std::numbers::pi;
    return {SteadyStateGainDb(input, output, skip), lead <= 0.0 ? -lead : 360.0 - lead};
}

class FirstOrderAllPassTest : public ::testing::TestWithParam<int>
{
};

} // namespace

// Every frequency keeps its level; the lag is a quarter turn at the corner,
// less below it and more above it.
TEST_P(FirstOrderAllPassTest, KeepsEveryLevelAndLagsAQuarterTurnAtItsCorner)
{
    const int rate = GetParam();
    for (double corner : {150.0, 400.0, 3000.0})
    {
        SCOPED_TRACE(corner);
        const double c = AllPassCoefficient(corner, rate);
        EXPECT_NEAR(MeasureSection(corner, rate, c).lagDegrees, 90.0, 0.01);
        double previousLag = 0.0;
        for (double hz : {20.0, 50.0, 100.0, 300.0, 1000.0, 5000.0, 15000.0, 20000.0})
        {
            const Response response = MeasureSection(hz, rate, c);
            EXPECT_NEAR(response.gainDb, 0.0, 1e-6) << hz << " Hz";
            EXPECT_GT(response.lagDegrees, previousLag) << hz << " Hz";
            EXPECT_EQ(response.lagDegrees < 90.0, hz < corner) << hz << " Hz";
            previousLag = response.lagDegrees;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, FirstOrderAllPassTest, AddonTestRates(), RateTestName);
