#include "addons/kit/stereo_level.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

TEST(StereoLevel, RmsAndPeakOfAFrame)
{
    EXPECT_DOUBLE_EQ(StereoPower(0.6, -0.8), 0.5);
    EXPECT_DOUBLE_EQ(StereoRmsLevel(0.6, -0.8), std::sqrt(0.5));
    EXPECT_DOUBLE_EQ(StereoPeakLevel(0.6, -0.8), 0.8);
    EXPECT_DOUBLE_EQ(StereoPeakLevel(-0.9, 0.2), 0.9);
    EXPECT_EQ(StereoRmsLevel(0.0, 0.0), 0.0);
}

TEST(StereoLevel, QuadraturePairHasAConstantRmsLevel)
{
    const double amplitude = 0.7;
    for (int i = 0; i < 100; ++i)
    {
        const double phase = 2.0 * std::numbers::pi * i / 37.0;
        EXPECT_NEAR(StereoRmsLevel(amplitude * std::cos(phase), amplitude * std::sin(phase)),
                    amplitude / std::sqrt(2.0), 1e-15);
    }
}
