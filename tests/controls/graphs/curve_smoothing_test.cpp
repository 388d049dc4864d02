#include "controls/graphs/curve_smoothing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

TEST(SmoothCurveTriangular, ASpikeSpreadsAsTheTriangleOfItsWeights)
{
    std::vector<double> spike(21, 0.0);
    spike[10] = 25.0;
    const std::vector<double> out = SmoothCurveTriangular(spike);
    const std::vector<double> triangle = {1, 2, 3, 4, 5, 4, 3, 2, 1};
    for (size_t i = 0; i < out.size(); ++i)
    {
        const double expected = i >= 6 && i <= 14 ? triangle[i - 6] : 0.0;
        EXPECT_DOUBLE_EQ(out[i], expected) << i;
    }
}

TEST(SmoothCurveTriangular, TheWindowIsCutAndRenormalisedAtTheEnds)
{
    std::vector<double> ramp(12);
    for (size_t i = 0; i < ramp.size(); ++i)
    {
        ramp[i] = double(i);
    }
    const std::vector<double> out = SmoothCurveTriangular(ramp);
    // Index 0: weights 5, 4, 3, 2, 1 over indices 0..4, sum 15.
    EXPECT_DOUBLE_EQ(out[0], (0 * 5 + 1 * 4 + 2 * 3 + 3 * 2 + 4 * 1) / 15.0);
    EXPECT_DOUBLE_EQ(out[11], (11 * 5 + 10 * 4 + 9 * 3 + 8 * 2 + 7 * 1) / 15.0);
    EXPECT_DOUBLE_EQ(out[6], 6.0) << "a straight line inside is kept";
}

TEST(SmoothCurveTriangular, ShortConstantAndOddInputsKeepTheirLength)
{
    EXPECT_TRUE(SmoothCurveTriangular({}).empty());
    EXPECT_EQ(SmoothCurveTriangular({7}), std::vector<double>{7});
    EXPECT_EQ(SmoothCurveTriangular({3, -8}), (std::vector<double>{3, -8}));
    for (const double v : SmoothCurveTriangular(std::vector<double>(50, -42.5)))
    {
        EXPECT_DOUBLE_EQ(v, -42.5);
    }
    const std::vector<double> million(1000000, 1.0);
    EXPECT_EQ(SmoothCurveTriangular(million).size(), million.size());

    std::vector<double> withNaN(20, 1.0);
    withNaN[3] = std::nan("");
    const std::vector<double> out = SmoothCurveTriangular(withNaN);
    ASSERT_EQ(out.size(), 20u);
    EXPECT_TRUE(std::isnan(out[7])) << "a NaN reaches its neighbours";
    EXPECT_DOUBLE_EQ(out[8], 1.0) << "and no further";
}
