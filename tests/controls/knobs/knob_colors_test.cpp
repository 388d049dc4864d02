#include "controls/knobs/knob_colors.h"

#include "controls/base/accent_shade.h"

#include <gtest/gtest.h>

TEST(KnobColors, ShadesRoundHalvesUpAndStopAt255)
{
    const COLORREF accent = RGB(0xE5, 0x84, 0x52); // 229, 132, 82
    // 229 x 1.12 = 256.48 is held to 255; 132 x 1.18 = 155.76; 82 x 1.25 = 102.5.
    EXPECT_EQ(GlowOf(accent, 0x2A).GetValue(), Gdiplus::Color(0x2A, 255, 156, 103).GetValue());
    // 229 x 1.1 = 251.9, 132 x 1.1 = 145.2, 82 x 1.1 = 90.2.
    EXPECT_EQ(AccentShade(accent, 0xD7, 1.1, 1.1, 1.1, ChannelRounding::Round).GetValue(),
              Gdiplus::Color(0xD7, 252, 145, 90).GetValue());
    EXPECT_EQ(AccentShade(RGB(255, 255, 255), 1, 9, 9, 9, ChannelRounding::Round).GetValue(),
              Gdiplus::Color(1, 255, 255, 255).GetValue());
    EXPECT_EQ(GlowOf(RGB(0, 0, 0), 0x40).GetValue(), Gdiplus::Color(0x40, 0, 0, 0).GetValue());
}

TEST(KnobColors, HueTurnsRoundTheWheelKeepingSaturationAndValue)
{
    EXPECT_EQ(HueTurned(RGB(255, 0, 0), -90), RGB(127, 0, 255)) << "red to violet";
    EXPECT_EQ(HueTurned(RGB(0, 255, 0), -120), RGB(255, 0, 0));
    EXPECT_EQ(HueTurned(RGB(255, 0, 0), 0), RGB(255, 0, 0));
    EXPECT_EQ(HueTurned(RGB(90, 90, 90), -90), RGB(90, 90, 90)) << "a grey has no hue to turn";
    // The default accent's zone colour, a quarter turn back: a violet.
    const COLORREF zone = HueTurned(RGB(0xE5, 0x84, 0x52), -90);
    EXPECT_GT(GetBValue(zone), GetGValue(zone));
    EXPECT_GT(GetRValue(zone), GetGValue(zone));
}
