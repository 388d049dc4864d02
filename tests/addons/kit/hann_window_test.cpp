#include "addons/kit/hann_window.h"

#include <gtest/gtest.h>

#include <cmath>

// Periodic: zero at the first sample only, one at the middle, and symmetric
// about the middle, so w[n] = w[N - n].
TEST(HannWindow, IsThePeriodicWindowOfItsLength)
{
    for (std::size_t length : {8u, 4096u, 8192u})
    {
        SCOPED_TRACE(length);
        std::vector<double> window(3, 7.0);
        FillHannWindow(window, length);
        ASSERT_EQ(window.size(), length);
        EXPECT_EQ(window[0], 0.0);
        EXPECT_NEAR(window[length / 2], 1.0, 1e-15);
        EXPECT_NEAR(window[length / 4], 0.5, 1e-15);
        for (std::size_t n = 1; n < length; ++n)
        {
            ASSERT_NEAR(window[n], window[length - n], 1e-15) << n;
            ASSERT_GT(window[n], 0.0) << n;
        }
    }
    std::vector<double> window;
    MakeHannWindow4096(window);
    std::vector<double> expected;
    FillHannWindow(expected, 4096);
    EXPECT_EQ(window, expected);
}
