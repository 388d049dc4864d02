#include "controls/text/value_readout_wnd.h"

#include "controls/layout/control_item.h"
#include "tests/controls/text/text_widget_kit.h"

#include <gtest/gtest.h>

namespace
{

constexpr COLORREF kSurface = RGB(0, 0, 0);

class ValueReadout : public ControlTest
{
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        CreateIn(readout, CRect(CPoint(20, 20), readout.GetPreferredSize()));
        readout.SetBackgroundColor(kSurface);
        readout.SetDrawBorder(false);
        readout.SetDrawBackground(false);
    }

    CValueReadoutWnd readout;
};

} // namespace

TEST_F(ValueReadout, LabelAtTheLeftAndTextValueRightAlignedTenPixelsFromTheEdge)
{
    for (const wchar_t* text : {L"12.3 dB", L"-0.5", L"7"})
    {
        SCOPED_TRACE(::testing::Message() << CStringA(text).GetString());
        readout.SetTextValue(text);
        const WindowPicture picture = PaintedAt(readout, CSize(160, 40));
        const std::optional<CRect> label = InkBounds(picture, kSurface, CRect(0, 0, 80, 40));
        const std::optional<CRect> value = InkBounds(picture, kSurface, CRect(80, 0, 160, 40));
        ASSERT_TRUE(label.has_value());
        ASSERT_TRUE(value.has_value());
        // The label box starts at 10, its ink about em/6 (1.7 px) later.
        EXPECT_GE(label->left, 11);
        EXPECT_LE(label->left, 14);
        // The value box ends at W - 10; its ink em/6 = 3 px inside that.
        EXPECT_GE(value->right, 160 - 10 - 3 - 2);
        EXPECT_LE(value->right, 160 - 10 - 3 + 1);
        EXPECT_NEAR((value->top + value->bottom) / 2.0, 20, 3);
    }
}

TEST_F(ValueReadout, TheNumericValueNeverShows)
{
    const WindowPicture before = PaintedAt(readout, CSize(160, 40));
    readout.SetDisplayRange(-12, 12, 1, L" dB");
    readout.SetValue(0.9);
    readout.SetSecondaryValue(0.3);
    EXPECT_TRUE(PaintedAt(readout, CSize(160, 40)).pixels == before.pixels);

    // Configured from a layout item it reads no more than the base does.
    ControlItem item;
    item.label = "Level";
    item.textValue = "-3.0 dB";
    item.value = 0.25;
    readout.ApplyItem(item);
    EXPECT_EQ(readout.GetTextValue().Str(), L"-3.0 dB");
    EXPECT_EQ(readout.GetValue(), 0.25);
}

TEST_F(ValueReadout, ItsBackgroundIsTheBodyAnInnerPanelAndAFaintFrame)
{
    readout.SetLabel(L"");
    readout.SetTextValue(L"");
    readout.SetDrawBackground(true);
    WindowPicture picture = PaintedAt(readout, CSize(160, 40));
    const COLORREF body = picture.ColorAt(3, 20);
    const COLORREF panel = picture.ColorAt(80, 20);
    EXPECT_NEAR(GetBValue(body), (0x12 + 0x1B) / 2, 2) << "the body gradient";
    EXPECT_GT(GetRValue(panel), GetRValue(body)) << "the warm inner panel";
    EXPECT_EQ(picture.ColorAt(0, 20), body) << "no frame";

    readout.SetDrawBorder(true);
    picture = PaintedAt(readout, CSize(160, 40));
    EXPECT_GT(GetGValue(picture.ColorAt(0, 20)), GetGValue(body)) << "the frame";
    EXPECT_EQ(picture.ColorAt(1, 20), body);

    readout.SetDrawBackground(false);
    picture = PaintedAt(readout, CSize(160, 40));
    EXPECT_EQ(picture.ColorAt(80, 20), kSurface) << "no body, no panel";
}
