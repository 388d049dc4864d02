#include "controls/text/text_label_strip_wnd.h"

#include "tests/controls/text/text_widget_kit.h"

#include <gtest/gtest.h>

namespace
{

constexpr COLORREF kSurface = RGB(0, 0, 0);
constexpr COLORREF kAccent = RGB(0xFF, 0x00, 0x00);

} // namespace

TEST_F(ControlTest, TextLabelStripSitsBetween30And6PixelsAboveTheBottomWithItsTextOnIt)
{
    CTextLabelStripWnd strip;
    CreateIn(strip, CRect(20, 20, 180, 100));
    strip.SetBackgroundColor(kSurface);
    strip.SetAccentColor(kAccent);
    const WindowPicture picture = PaintedAt(strip, CSize(160, 80));
    // Right of the text: the accent at 0xD6 over black; the edges are lighter.
    const COLORREF inside = picture.ColorAt(150, 62);
    EXPECT_NEAR(GetRValue(inside), 0xD6, 1);
    EXPECT_EQ(GetGValue(inside), 0);
    EXPECT_EQ(picture.ColorAt(150, 48), kSurface) << "above the strip";
    EXPECT_EQ(picture.ColorAt(150, 76), kSurface) << "below the strip";
    EXPECT_GT(GetGValue(picture.ColorAt(150, 50)), 0) << "top edge, the white outline";
    EXPECT_GT(GetGValue(picture.ColorAt(150, 73)), 0) << "bottom edge";

    // The label, near-aligned 8 px in (plus the text's own padding), centred on the strip.
    const std::optional<CRect> ink = InkBounds(picture, inside, CRect(1, 51, 159, 73));
    ASSERT_TRUE(ink.has_value());
    EXPECT_GE(ink->left, 8 + 2);
    EXPECT_LE(ink->left, 8 + 5);
    EXPECT_NEAR((ink->top + ink->bottom) / 2.0, 62, 3);
    EXPECT_EQ(InkBounds(picture, kSurface, CRect(0, 0, 160, 49)), std::nullopt);
}
