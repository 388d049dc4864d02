#include "controls/text/text_caption_block_wnd.h"

#include "tests/controls/text/text_widget_kit.h"

#include <gtest/gtest.h>

namespace
{

constexpr COLORREF kSurface = RGB(0, 0, 0);
constexpr COLORREF kAccent = RGB(0xFF, 0x00, 0x80);

class TextCaptionBlock : public ControlTest
{
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        CreateIn(block, CRect(CPoint(20, 20), block.GetPreferredSize()));
        block.SetBackgroundColor(kSurface);
        block.SetAccentColor(kAccent);
    }

    bool RepaintPending() const { return ::GetUpdateRect(block.GetSafeHwnd(), nullptr, FALSE); }

    CTextCaptionBlockWnd block;
};

} // namespace

TEST_F(TextCaptionBlock, TheBackgroundFlagLaysAFaintAccentWashAndTheBorderFlagNothing)
{
    block.SetDrawBorder(true);
    WindowPicture picture = PaintedAt(block, CSize(280, 40));
    EXPECT_EQ(picture.ColorAt(0, 0), kSurface) << "no frame";
    EXPECT_EQ(picture.ColorAt(279, 39), kSurface);

    block.SetDrawBackground(true);
    picture = PaintedAt(block, CSize(280, 40));
    // 0x2A of 0xFF over black.
    for (const CPoint at : {CPoint(0, 0), CPoint(279, 39), CPoint(270, 2)})
    {
        const COLORREF wash = picture.ColorAt(at.x, at.y);
        EXPECT_NEAR(GetRValue(wash), 0x2A, 1) << at.x << ", " << at.y;
        EXPECT_EQ(GetGValue(wash), 0);
        EXPECT_NEAR(GetBValue(wash), 0x15, 1);
    }

    ControlDrawState blank = block.GetDrawState();
    blank.blank = true;
    Gdiplus::Bitmap bitmap(20, 20);
    Gdiplus::Graphics graphics(&bitmap);
    PaintCaptionBlockBackground(graphics, RECT{0, 0, 20, 20}, blank);
    EXPECT_EQ(PixelAt(bitmap, 10, 10), kSurface) << "a blank block is only its colour";
}

TEST_F(TextCaptionBlock, HeadingAboveAndBodyBelowCutAtTheBottom)
{
    block.SetLabel(L"Heading");
    block.SetTextValue(L"Body words that go on and wrap over many lines, far more lines than "
                       L"the block has room for at its preferred height of forty pixels.");
    const WindowPicture picture = PaintedAt(block, CSize(280, 60));
    const std::optional<CRect> heading = InkBounds(picture, kSurface, CRect(0, 0, 280, 21));
    const std::optional<CRect> body = InkBounds(picture, kSurface, CRect(0, 21, 280, 60));
    ASSERT_TRUE(heading.has_value());
    ASSERT_TRUE(body.has_value());
    EXPECT_GE(heading->top, 3);
    EXPECT_LE(body->bottom, 60 - 1) << "the body box ends 1 px above the bottom";
    EXPECT_GT(body->bottom, 50) << "the body fills its box";
}

TEST_F(TextCaptionBlock, AToolTipChangedAloneShowsAtTheNextRepaint)
{
    block.SetTextValue(L"Short supporting text.");
    const WindowPicture placeholder = PaintedAt(block, CSize(280, 40));
    block.SetToolTip(L"A tool tip that says more.");
    EXPECT_FALSE(RepaintPending());
    block.Invalidate(FALSE);
    block.UpdateWindow();
    WindowPicture repainted;
    ASSERT_TRUE(ComposeWindowPicture(block.GetSafeHwnd(), repainted));
    EXPECT_FALSE(repainted.pixels == placeholder.pixels);
}
