#include "controls/text/text_caption_wnd.h"

#include "tests/controls/text/text_widget_kit.h"

#include <gtest/gtest.h>

namespace
{

constexpr COLORREF kSurface = RGB(0x08, 0x10, 0x20);

class TextCaption : public ControlTest
{
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        CreateIn(caption, CRect(CPoint(20, 20), caption.GetPreferredSize()));
        caption.SetBackgroundColor(kSurface);
    }

    CTextCaptionWnd caption;
};

} // namespace

TEST_F(TextCaption, CentresItsLineOnTheBackgroundColourWhateverTheFlags)
{
    caption.SetDrawBorder(true);
    caption.SetDrawBackground(true);
    const WindowPicture picture = PaintedAt(caption, CSize(200, 32));
    const std::optional<CRect> ink = InkBounds(picture, kSurface, Whole(picture));
    ASSERT_TRUE(ink.has_value());
    EXPECT_NEAR((ink->left + ink->right) / 2.0, 100, 2);
    EXPECT_NEAR((ink->top + ink->bottom) / 2.0, 16, 3);
    EXPECT_EQ(picture.ColorAt(0, 0), kSurface) << "no frame";
    EXPECT_EQ(picture.ColorAt(5, 16), kSurface) << "no body";
}

TEST_F(TextCaption, ShowsTheTextValueInPlaceOfTheLabel)
{
    caption.SetLabel(L"Label");
    caption.SetTextValue(L"Value");
    const WindowPicture withLabel = PaintedAt(caption, CSize(200, 32));
    caption.SetLabel(L"Another label");
    EXPECT_TRUE(PaintedAt(caption, CSize(200, 32)).pixels == withLabel.pixels);
}
