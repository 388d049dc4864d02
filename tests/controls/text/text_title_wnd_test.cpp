#include "controls/text/text_title_wnd.h"

#include "tests/controls/text/text_widget_kit.h"

#include <gtest/gtest.h>

namespace
{

constexpr COLORREF kSurface = RGB(0x20, 0x10, 0x08);

class TextTitle : public ControlTest
{
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        CreateIn(title, CRect(CPoint(20, 20), title.GetPreferredSize()));
        title.SetBackgroundColor(kSurface);
        // The title has no frame and no body, whatever the flags say.
        title.SetDrawBorder(true);
        title.SetDrawBackground(true);
    }

    CTextTitleWnd title;
};

bool Uniform(const WindowPicture& picture, COLORREF colour)
{
    for (int y = 0; y < picture.height; ++y)
    {
        for (int x = 0; x < picture.width; ++x)
        {
            if (picture.ColorAt(x, y) != colour)
            {
                return false;
            }
        }
    }
    return true;
}

} // namespace

TEST_F(TextTitle, DrawsItsLabelFromTheLeftCentredOnTheBackgroundColour)
{
    const WindowPicture picture = PaintedAt(title, CSize(240, 52));
    const std::optional<CRect> ink = InkBounds(picture, kSurface, Whole(picture));
    ASSERT_TRUE(ink.has_value());
    // 2 px margin, then the em/6 = 3 px padding of the text.
    EXPECT_GE(ink->left, 4);
    EXPECT_LE(ink->left, 7);
    EXPECT_NEAR((ink->top + ink->bottom) / 2.0, 26, 3);
    EXPECT_EQ(picture.ColorAt(0, 0), kSurface);
    EXPECT_EQ(picture.ColorAt(239, 51), kSurface);
}

TEST_F(TextTitle, ABlankOrEmptyTitlePaintsOnlyItsBackgroundColour)
{
    title.SetBlank(true);
    EXPECT_TRUE(Uniform(PaintedAt(title, CSize(240, 52)), kSurface));
    title.SetBlank(false);
    title.SetLabel(L"");
    EXPECT_TRUE(Uniform(PaintedAt(title, CSize(240, 52)), kSurface));

    // The routine itself clears a blank snapshot, for painters without the pipeline.
    ControlDrawState blank = title.GetDrawState();
    blank.label = L"Title";
    blank.blank = true;
    Gdiplus::Bitmap bitmap(60, 20);
    Gdiplus::Graphics graphics(&bitmap);
    graphics.Clear(Gdiplus::Color(255, 200, 0, 0));
    DrawTextTitle(graphics, RECT{0, 0, 60, 20}, blank);
    for (int x = 0; x < 60; x += 7)
    {
        EXPECT_EQ(PixelAt(bitmap, x, 10), kSurface) << x;
    }
}

TEST_F(TextTitle, ALongLabelEndsInsideTheControl)
{
    title.SetLabel(L"A title far too long for its control, by some way, to be shown whole");
    const WindowPicture picture = PaintedAt(title, CSize(120, 52));
    const std::optional<CRect> ink = InkBounds(picture, kSurface, Whole(picture));
    ASSERT_TRUE(ink.has_value());
    EXPECT_LE(ink->right, 120 - 2) << "the ellipsis ends before the padding";
}
