#include "controls/base/hsv_color.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

TEST(HsvColor, KnownColoursConvertBothWays)
{
    struct ToHsv
    {
        BYTE r, g, b;
        double hue, saturation, value;
    };
    const ToHsv toHsv[] = {
        {128, 128, 128, 0, 0, 128 / 255.0},
        {255, 0, 0, 0, 1, 1},
        {0, 0, 255, 240, 1, 1},
        {0, 255, 0, 120, 1, 1},
        {255, 0, 128, 329.882352941, 1, 1},
        {0, 0, 0, 0, 0, 0},
    };
    for (const ToHsv& c : toHsv)
    {
        const HsvColor hsv = RgbToHsv(c.r, c.g, c.b);
        EXPECT_NEAR(hsv.hue, c.hue, 1e-6) << int(c.r) << " " << int(c.g) << " " << int(c.b);
        EXPECT_NEAR(hsv.saturation, c.saturation, 1e-12);
        EXPECT_NEAR(hsv.value, c.value, 1e-12);
    }

    struct ToRgb
    {
        double hue, saturation, value;
        BYTE r, g, b;
    };
    const ToRgb toRgb[] = {
        {120, 1, 1, 0, 255, 0},       {360, 1, 1, 255, 0, 0}, // sector 6 is sector 0
        {200, 0, 0.5, 127, 127, 127}, {-90, 1, 1, 0, 0, 0},   // a negative sector is black
        {60, 2, 2, 255, 255, 0},                              // channels clamp
        {NAN, 1, 1, 0, 0, 0},         {0, NAN, 1, 0, 0, 0},   {720, 1, 1, 255, 0, 0},
    };
    for (const ToRgb& c : toRgb)
    {
        const RgbBytes rgb = HsvToRgb(c.hue, c.saturation, c.value);
        EXPECT_EQ(int(rgb.red), int(c.r)) << c.hue << " " << c.saturation << " " << c.value;
        EXPECT_EQ(int(rgb.green), int(c.g));
        EXPECT_EQ(int(rgb.blue), int(c.b));
    }
}

TEST(HsvColor, EveryByteColourComesBackWithinOnePerChannel)
{
    for (int r = 0; r < 256; r += 3)
    {
        for (int g = 0; g < 256; g += 3)
        {
            for (int b = 0; b < 256; b += 3)
            {
                const HsvColor hsv = RgbToHsv(BYTE(r), BYTE(g), BYTE(b));
                const RgbBytes back = HsvToRgb(hsv.hue, hsv.saturation, hsv.value);
                ASSERT_LE(std::abs(back.red - r), 1) << r << " " << g << " " << b;
                ASSERT_LE(std::abs(back.green - g), 1) << r << " " << g << " " << b;
                ASSERT_LE(std::abs(back.blue - b), 1) << r << " " << g << " " << b;
            }
        }
    }
}
