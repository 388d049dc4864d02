#include "platform/gdiplus/gdiplus.h"
#include "platform/win32/window_picture.h"
#include "tests/platform/test_windows.h"

#include <gtest/gtest.h>

namespace
{

constexpr COLORREF kBackground = RGB(12, 14, 16);

// Paints the way every custom window does: CPaintDC, a memory DC with a
// bitmap of the client size, GDI+ on the memory DC, one BitBlt to the window.
class BufferedWnd : public RecordingWnd
{
public:
    explicit BufferedWnd(MessageLog& log) : RecordingWnd("buffered", log)
    {
        On(WM_ERASEBKGND, [](WPARAM, LPARAM) { return LRESULT{TRUE}; });
        On(WM_PAINT,
           [this](WPARAM, LPARAM)
           {
               CPaintDC dc(this);
               CRect client;
               GetClientRect(&client);
               CDC memory;
               memory.CreateCompatibleDC(&dc);
               CBitmap bitmap;
               bitmap.CreateCompatibleBitmap(&dc, client.Width(), client.Height());
               CBitmap* previous = memory.SelectObject(&bitmap);
               {
                   Gdiplus::Graphics g(memory.GetSafeHdc());
                   g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
                   g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
                   Gdiplus::Color background;
                   background.SetFromCOLORREF(kBackground);
                   g.Clear(background);
                   Gdiplus::SolidBrush accent(Gdiplus::Color(255, 255, 140, 40));
                   g.FillRectangle(&accent, 10, 10, 20, 20);
               }
               dc.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
               memory.SelectObject(previous);
               return LRESULT{0};
           });
    }
};

class Gdi : public WindowTest
{
};

} // namespace

TEST_F(Gdi, BufferedPaintReachesTheWindowThroughBitBlt)
{
    BufferedWnd top(log);
    ASSERT_TRUE(top.CreateTopLevel(RECT{0, 0, 60, 40}));
    WindowPicture picture;
    ASSERT_TRUE(ComposeWindowPicture(top.GetSafeHwnd(), picture));
    EXPECT_EQ(picture.ColorAt(2, 2), kBackground);
    EXPECT_EQ(picture.ColorAt(15, 15), RGB(255, 140, 40));
    EXPECT_EQ(picture.ColorAt(35, 15), kBackground);
}

TEST_F(Gdi, MemoryBitmapsRefuseImpossibleSizesAndBitBltClipsToTheSource)
{
    EXPECT_EQ(::CreateCompatibleBitmap(nullptr, 0, 10), nullptr);
    EXPECT_EQ(::CreateCompatibleBitmap(nullptr, 40000, 10), nullptr);

    CDC small;
    small.CreateCompatibleDC(nullptr);
    CBitmap smallBitmap;
    smallBitmap.CreateCompatibleBitmap(&small, 4, 4);
    small.SelectObject(&smallBitmap);
    small.FillSolidRect(0, 0, 4, 4, RGB(255, 0, 0));

    CDC large;
    large.CreateCompatibleDC(nullptr);
    CBitmap largeBitmap;
    largeBitmap.CreateCompatibleBitmap(&large, 10, 10);
    large.SelectObject(&largeBitmap);
    large.FillSolidRect(0, 0, 10, 10, RGB(0, 0, 255));
    large.BitBlt(0, 0, 10, 10, &small, 0, 0, SRCCOPY);

    std::unique_ptr<Gdiplus::Bitmap> copy(Gdiplus::Bitmap::FromHBITMAP(largeBitmap, nullptr));
    ASSERT_EQ(copy->GetLastStatus(), Gdiplus::Ok);
    Gdiplus::Color c;
    copy->GetPixel(2, 2, &c);
    EXPECT_EQ(c.GetR(), 255) << "copied from the source";
    copy->GetPixel(7, 7, &c);
    EXPECT_EQ(c.GetB(), 255) << "outside the source the target keeps its pixels";
}

TEST_F(Gdi, TextCallsMeasureAndDrawWithTheMappedFont)
{
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dc, 200, 40);
    dc.SelectObject(&bitmap);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 96);

    CFont font;
    ASSERT_TRUE(font.CreateFont(-MulDiv(18, 96, 72), 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0,
                                L"Segoe UI"));
    dc.SelectObject(&font);
    const CSize two = dc.GetTextExtent(L"MM", 2);
    const CSize four = dc.GetTextExtent(L"MMMM", 4);
    EXPECT_NEAR(four.cx, 2 * two.cx, 2) << "no padding in GDI extents";
    EXPECT_GT(two.cy, 24);

    RECT calc{0, 0, 0, 0};
    dc.DrawText(L"&File", -1, &calc, DT_SINGLELINE | DT_CALCRECT);
    RECT calcNoPrefix{0, 0, 0, 0};
    dc.DrawText(L"&File", -1, &calcNoPrefix, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    EXPECT_LT(calc.right, calcNoPrefix.right) << "the prefix marker is not drawn";

    dc.FillSolidRect(0, 0, 200, 40, RGB(0, 0, 0));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(255, 255, 255));
    RECT box{0, 0, 60, 40};
    dc.DrawText(L"A long caption that will not fit", -1, &box,
                DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    std::unique_ptr<Gdiplus::Bitmap> copy(Gdiplus::Bitmap::FromHBITMAP(bitmap, nullptr));
    bool inkInside = false;
    for (int y = 0; y < 40; ++y)
    {
        for (int x = 0; x < 200; ++x)
        {
            Gdiplus::Color c;
            copy->GetPixel(x, y, &c);
            if (x >= 60)
            {
                ASSERT_EQ(c.GetR(), 0) << "text escaped its rectangle at " << x << "," << y;
            }
            inkInside = inkInside || c.GetR() > 0;
        }
    }
    EXPECT_TRUE(inkInside);

    LOGFONTW gui{};
    EXPECT_EQ(::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(gui), &gui),
              int(sizeof(gui)));
    EXPECT_EQ(gui.lfHeight, -11);
}
