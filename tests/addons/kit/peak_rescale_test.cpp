#include "addons/kit/peak_rescale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

TEST(PeakRescale, APeakAboveTheInputsIsBroughtBackWithTheShapeKept)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case
    {
        const char* what;
        std::vector<double> values;
        double inputPeak;
        double threshold;
        bool scaled;
        double scale; // when scaled
    };
    const Case cases[] = {
        {"risen: scaled to the input peak", {0.2, -1.0, 0.5}, 0.5, 1e-12, true, 0.5},
        {"a negative peak counts by its size", {0.1, -2.0}, 1.0, 1e-9, true, 0.5},
        {"equal to the input peak: kept", {0.2, -0.5}, 0.5, 1e-12, false, 1.0},
        {"fallen: kept", {0.2, 0.3}, 0.5, 1e-12, false, 1.0},
        {"input at the threshold counts as silence", {1e-9, 0.5}, 1e-9, 1e-9, false, 1.0},
        {"input under the threshold", {1e-13, 0.5}, 1e-13, 1e-12, false, 1.0},
        {"threshold 0: any input peak above it", {0x1p-1001, 0x1p-999}, 0x1p-1000, 0.0, true, 0.5},
        {"threshold 0, silent input", {0.0, 0.3}, 0.0, 0.0, false, 1.0},
        {"non-finite values do not count as the peak", {nan, 1.0, inf}, 0.5, 0.0, true, 0.5},
        {"a non-number input peak", {0.2, 1.0}, nan, 0.0, false, 1.0},
    };
    for (const Case& c : cases)
    {
        std::vector<double> values = c.values;
        EXPECT_EQ(RescaleToInputPeak(values, c.inputPeak, c.threshold), c.scaled) << c.what;
        ASSERT_EQ(values.size(), c.values.size());
        for (size_t i = 0; i < values.size(); ++i)
        {
            const double want = c.values[i] * c.scale;
            if (std::isfinite(want))
            {
                EXPECT_EQ(values[i], want) << c.what << ", value " << i;
            }
        }
    }
}

TEST(PeakRescale, EmptyValuesStayEmpty)
{
    std::vector<double> values;
    EXPECT_FALSE(RescaleToInputPeak(values, 1.0, 0.0));
    EXPECT_TRUE(values.empty());
}
