#include "controls/text/vertical_divider_wnd.h"

#include "tests/controls/text/text_widget_kit.h"

#include <gtest/gtest.h>

namespace
{

constexpr COLORREF kSurface = RGB(0, 0, 0);
constexpr COLORREF kAccent = RGB(0x00, 0x00, 0xFF);

class VerticalDivider : public ControlTest
{
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        CreateIn(divider, CRect(CPoint(20, 20), divider.GetPreferredSize()));
        divider.SetBackgroundColor(kSurface);
        divider.SetAccentColor(kAccent);
    }

    CVerticalDividerWnd divider;
};

} // namespace

TEST_F(VerticalDivider, ATwoPixelLineHalfAPixelRightOfTheMiddleColumnFrom8ToHMinus8)
{
    for (const CSize size : {CSize(40, 160), CSize(7, 61)})
    {
        SCOPED_TRACE(::testing::Message() << size.cx << " x " << size.cy);
        const WindowPicture picture = PaintedAt(divider, size);
        const int middle = size.cx / 2;
        EXPECT_NEAR(GetBValue(picture.ColorAt(middle, size.cy / 2)), 0xE4, 1);
        EXPECT_NEAR(GetBValue(picture.ColorAt(middle - 1, size.cy / 2)), 0xE4 / 2, 3);
        EXPECT_NEAR(GetBValue(picture.ColorAt(middle + 1, size.cy / 2)), 0xE4 / 2, 3);
        if (middle >= 2)
        {
            EXPECT_EQ(picture.ColorAt(middle - 2, size.cy / 2), kSurface);
        }
        EXPECT_EQ(picture.ColorAt(middle, 7), kSurface);
        EXPECT_NEAR(GetBValue(picture.ColorAt(middle, 8)), 0xE4, 1);
        EXPECT_NEAR(GetBValue(picture.ColorAt(middle, size.cy - 9)), 0xE4, 1);
        EXPECT_EQ(picture.ColorAt(middle, size.cy - 8), kSurface);
    }
}

TEST_F(VerticalDivider, WithItsFlagsOnTheStandardBodyAndFrameShowUnderTheLine)
{
    divider.SetDrawBorder(true);
    divider.SetDrawBackground(true);
    const WindowPicture picture = PaintedAt(divider, CSize(40, 160));
    Gdiplus::Bitmap bitmap(40, 160);
    {
        Gdiplus::Graphics graphics(&bitmap);
        PrepareControlGraphics(graphics);
        PaintControlBackground(graphics, RECT{0, 0, 40, 160}, divider.GetDrawState());
    }
    for (const CPoint at :
         {CPoint(0, 0), CPoint(20, 0), CPoint(5, 80), CPoint(39, 159), CPoint(20, 3)})
    {
        EXPECT_EQ(picture.ColorAt(at.x, at.y), PixelAt(bitmap, at.x, at.y)) << at.x << ", " << at.y;
    }
    EXPECT_NEAR(GetBValue(picture.ColorAt(20, 80)), 0xE4, 2) << "the line over the body";

    divider.SetBlank(true);
    const WindowPicture blank = PaintedAt(divider, CSize(40, 160));
    EXPECT_EQ(blank.ColorAt(20, 80), kSurface);
}
