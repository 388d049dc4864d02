#include "controls/text/horizontal_divider_wnd.h"

#include "tests/controls/text/text_widget_kit.h"

#include <gtest/gtest.h>

namespace
{

constexpr COLORREF kSurface = RGB(0, 0, 0);
constexpr COLORREF kAccent = RGB(0x00, 0xFF, 0x00);

class HorizontalDivider : public ControlTest
{
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        CreateIn(divider, CRect(CPoint(20, 20), divider.GetPreferredSize()));
        divider.SetBackgroundColor(kSurface);
        divider.SetAccentColor(kAccent);
    }

    CHorizontalDividerWnd divider;
};

} // namespace

TEST_F(HorizontalDivider, ATwoPixelLineHalfAPixelBelowTheMiddleRowFrom8ToWMinus8)
{
    for (const CSize size : {CSize(160, 40), CSize(61, 7)})
    {
        SCOPED_TRACE(::testing::Message() << size.cx << " x " << size.cy);
        const WindowPicture picture = PaintedAt(divider, size);
        const int middle = size.cy / 2;
        // The line covers middle - 0.5 .. middle + 1.5: one full row between two halves.
        EXPECT_NEAR(GetGValue(picture.ColorAt(size.cx / 2, middle)), 0xE4, 1);
        EXPECT_NEAR(GetGValue(picture.ColorAt(size.cx / 2, middle - 1)), 0xE4 / 2, 3);
        EXPECT_NEAR(GetGValue(picture.ColorAt(size.cx / 2, middle + 1)), 0xE4 / 2, 3);
        EXPECT_EQ(picture.ColorAt(size.cx / 2, middle - 2), kSurface);
        EXPECT_EQ(picture.ColorAt(size.cx / 2, middle + 2), kSurface);
        EXPECT_EQ(picture.ColorAt(7, middle), kSurface);
        EXPECT_NEAR(GetGValue(picture.ColorAt(8, middle)), 0xE4, 1);
        EXPECT_NEAR(GetGValue(picture.ColorAt(size.cx - 9, middle)), 0xE4, 1);
        EXPECT_EQ(picture.ColorAt(size.cx - 8, middle), kSurface);
    }
}

TEST_F(HorizontalDivider, WithItsFlagsOnTheStandardBodyAndFrameShowUnderTheLine)
{
    divider.SetDrawBorder(true);
    divider.SetDrawBackground(true);
    const WindowPicture picture = PaintedAt(divider, CSize(160, 40));
    ControlDrawState standard = divider.GetDrawState();
    Gdiplus::Bitmap bitmap(160, 40);
    {
        Gdiplus::Graphics graphics(&bitmap);
        PrepareControlGraphics(graphics);
        PaintControlBackground(graphics, RECT{0, 0, 160, 40}, standard);
    }
    for (const CPoint at : {CPoint(0, 0), CPoint(0, 20), CPoint(4, 10), CPoint(80, 5),
                            CPoint(159, 39), CPoint(155, 20)})
    {
        EXPECT_EQ(picture.ColorAt(at.x, at.y), PixelAt(bitmap, at.x, at.y)) << at.x << ", " << at.y;
    }
    EXPECT_NEAR(GetGValue(picture.ColorAt(80, 20)), 0xE4, 2) << "the line over the body";

    ControlDrawState blank = standard;
    blank.blank = true;
    Gdiplus::Graphics graphics(&bitmap);
    DrawHorizontalDivider(graphics, RECT{0, 0, 160, 40}, blank);
    EXPECT_EQ(PixelAt(bitmap, 80, 20), kSurface) << "a blank divider is only its colour";
    EXPECT_EQ(PixelAt(bitmap, 0, 0), kSurface);
}
