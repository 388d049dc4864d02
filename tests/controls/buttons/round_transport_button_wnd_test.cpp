#include "controls/buttons/round_transport_button_wnd.h"

#include "controls/base/painting_helpers.h"
#include "controls/layout/control_item.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <string>

TEST(TransportGlyph, IsReadFromTheTextValue)
{
    struct Case
    {
        const wchar_t* text;
        int glyph;
    };
    const Case cases[] = {
        {L" Pause ", CRoundTransportButtonWnd::kPause},
        {L"II", CRoundTransportButtonWnd::kPause},
        {L"Square", CRoundTransportButtonWnd::kStop},
        {L"\tSTOP\n", CRoundTransportButtonWnd::kStop},
        {L"stopp", CRoundTransportButtonWnd::kPlay},
        {L"", CRoundTransportButtonWnd::kPlay},
        {L"play", CRoundTransportButtonWnd::kPlay},
        {L"pa\u00fcse", CRoundTransportButtonWnd::kPlay},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(ParseTransportGlyph(c.text), c.glyph) << "\"" << CString(c.text).GetLength();
    }
    EXPECT_EQ(ParseTransportGlyph(CString(std::wstring(1000, L'x'))), 0);
}

TEST(RoundTransportButton, TheCircleAndGlyphBoxAreCentredInTheControl)
{
    // 80 x 80: the circle 72 across at (4, 4), the core 56 across at (12, 12).
    CRoundTransportButtonWnd::State state;
    state.size = CSize(80, 80);
    Gdiplus::Bitmap bitmap(80, 80);
    {
        Gdiplus::Graphics graphics(&bitmap);
        PrepareControlGraphics(graphics);
        graphics.Clear(Gdiplus::Color(255, 0, 0, 0));
        state.glyph = CRoundTransportButtonWnd::kStop;
        state.snapshot.drawBackground = false;
        state.snapshot.drawBorder = false;
        CRoundTransportButtonWnd::Draw(graphics, state);
    }
    // The rim (alpha 0x4E white) is lit just inside x 4 and not at x 2 on the middle row...
    EXPECT_GT(GetGValue(PixelAt(bitmap, 5, 40)), GetGValue(PixelAt(bitmap, 1, 40)));
    // ...and the stop square, 0.34 x 56 = 19 across, is centred at 40, 40.
    EXPECT_GT(GetGValue(PixelAt(bitmap, 40, 40)), 220);
    EXPECT_GT(GetGValue(PixelAt(bitmap, 31, 40)), 220);
    EXPECT_LT(GetGValue(PixelAt(bitmap, 28, 40)), 200);

    for (const CSize size : {CSize(80, 80), CSize(140, 100)})
    {
        Gdiplus::Bitmap sheet(size.cx * 3, size.cy * 2);
        Gdiplus::Graphics graphics(&sheet);
        for (int glyph = 0; glyph < 3; ++glyph)
        {
            for (const bool pressed : {false, true})
            {
                CRoundTransportButtonWnd::State one;
                one.size = size;
                one.glyph = glyph;
                one.snapshot.pressed = pressed;
                one.snapshot.hover = pressed;
                Gdiplus::Bitmap cell(size.cx, size.cy);
                {
                    Gdiplus::Graphics g(&cell);
                    PrepareControlGraphics(g);
                    PaintRoundTransportBackground(g, RECT{0, 0, size.cx, size.cy}, one.snapshot);
                    CRoundTransportButtonWnd::Draw(g, one);
                }
                graphics.DrawImage(&cell, float(glyph * size.cx), float(pressed ? size.cy : 0));
            }
        }
        ASSERT_TRUE(SaveControlPicture(sheet, "round_transport_" + std::to_string(size.cx) + "x" +
                                                  std::to_string(size.cy)));
    }
    for (const CSize size : {CSize(10, 10), CSize(23, 23), CSize(17, 40)})
    {
        Gdiplus::Bitmap small(size.cx, size.cy);
        Gdiplus::Graphics graphics(&small);
        CRoundTransportButtonWnd::State tiny;
        tiny.size = size;
        CRoundTransportButtonWnd::Draw(graphics, tiny);
    }
}

class RoundTransportWindow : public ControlTest
{
protected:
    CRoundTransportButtonWnd button;
};

TEST_F(RoundTransportWindow, TheGlyphFollowsTheTextAndAClickReadsOne)
{
    EXPECT_EQ(button.GetKindName(), "round transport");
    EXPECT_EQ(button.GetTextValue().Str(), L"play");
    CreateIn(button, CRect(CPoint(20, 20), button.GetPreferredSize()));
    button.SetTextValue(L"Pause");
    EXPECT_EQ(button.GetGlyph(), CRoundTransportButtonWnd::kPause);
    ControlItem item;
    item.textValue = "square";
    button.ApplyItem(item);
    EXPECT_EQ(button.GetGlyph(), CRoundTransportButtonWnd::kStop);

    heard.clear();
    session->Click(At(button, 2, 2)); // the whole client is the hit area
    ASSERT_EQ(Count(WMU_CONTROL_CHANGED), 1);
    EXPECT_EQ(heard.back().value, 1.0);
    EXPECT_EQ(button.GetValue(), 0.0);
}
