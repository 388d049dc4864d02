#include "platform/gdiplus/gdiplus.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/window_picture.h"
#include "tests/platform/test_windows.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace
{

// A window that paints itself one solid colour, the way every custom window
// paints: CPaintDC, then drawing on its DC.
class SolidWnd : public RecordingWnd
{
public:
    SolidWnd(std::string name, MessageLog& log, COLORREF colour)
        : RecordingWnd(std::move(name), log), m_colour(colour)
    {
        On(WM_PAINT,
           [this](WPARAM, LPARAM)
           {
               CPaintDC dc(this);
               CRect client;
               GetClientRect(&client);
               dc.FillSolidRect(&client, m_colour);
               return LRESULT{0};
           });
        On(WM_ERASEBKGND, [](WPARAM, LPARAM) { return LRESULT{TRUE}; });
    }

private:
    COLORREF m_colour;
};

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

class Painting : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(top.CreateTopLevel(RECT{200, 100, 300, 180}));
        ASSERT_TRUE(a.CreateChild(top, RECT{10, 10, 50, 40}, 1));
        ASSERT_TRUE(b.CreateChild(top, RECT{30, 20, 80, 60}, 2));   // overlaps a, beneath it
        ASSERT_TRUE(inner.CreateChild(b, RECT{40, 30, 70, 60}, 3)); // sticks out of b
    }

    SolidWnd top{"top", log, kBlue};
    SolidWnd a{"a", log, kRed};
    SolidWnd b{"b", log, kGreen};
    SolidWnd inner{"inner", log, kWhite};
};

TEST_F(Painting, ATreeComposesInZOrderClippedToParentsAndRendersToPng)
{
    TempDir dir;
    const auto path = dir / "tree.png";
    ASSERT_TRUE(RenderWindowToPng(top.GetSafeHwnd(), path));

    Gdiplus::Bitmap png(path.wstring().c_str());
    ASSERT_EQ(png.GetLastStatus(), Gdiplus::Ok);
    EXPECT_EQ(png.GetWidth(), 100u);
    EXPECT_EQ(png.GetHeight(), 80u);

    WindowPicture picture;
    ASSERT_TRUE(ComposeWindowPicture(top.GetSafeHwnd(), picture));
    EXPECT_EQ(picture.ColorAt(2, 2), kBlue);
    EXPECT_EQ(picture.ColorAt(35, 25), kRed) << "the first-created sibling is on top";
    EXPECT_EQ(picture.ColorAt(60, 25), kGreen);
    EXPECT_EQ(picture.ColorAt(75, 55), kWhite) << "grandchild at b's (45, 35)";
    EXPECT_EQ(picture.ColorAt(85, 55), kBlue) << "a child is clipped to its parent";

    b.SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_TRUE(ComposeWindowPicture(top.GetSafeHwnd(), picture));
    EXPECT_EQ(picture.ColorAt(35, 25), kGreen);

    b.ShowWindow(SW_HIDE);
    ASSERT_TRUE(ComposeWindowPicture(top.GetSafeHwnd(), picture));
    EXPECT_EQ(picture.ColorAt(60, 25), kBlue);
    EXPECT_EQ(picture.ColorAt(35, 25), kRed);
}

TEST_F(Painting, InvalidationsCoalesceIntoOnePaintWithEraseOnlyWhenAsked)
{
    PumpPendingMessages();
    log.Clear();
    a.Invalidate(FALSE);
    a.InvalidateRect(CRect(0, 0, 5, 5), FALSE);
    a.Invalidate(FALSE);
    PumpPendingMessages();
    EXPECT_EQ(log.Of({WM_PAINT, WM_ERASEBKGND}), (std::vector<std::string>{"a:WM_PAINT"}));

    log.Clear();
    a.InvalidateRect(CRect(1, 2, 3, 4), TRUE);
    PumpPendingMessages();
    EXPECT_EQ(log.Of({WM_PAINT, WM_ERASEBKGND}),
              (std::vector<std::string>{"a:WM_PAINT", "a:WM_ERASEBKGND"}))
        << "erase is sent from inside BeginPaint";
}

TEST_F(Painting, HiddenWindowsPaintWhenShownAndParentsPaintBeforeChildren)
{
    PumpPendingMessages();
    b.ShowWindow(SW_HIDE);
    PumpPendingMessages();
    log.Clear();
    inner.Invalidate(FALSE);
    PumpPendingMessages();
    EXPECT_EQ(log.Count("inner", WM_PAINT), 0);

    b.ShowWindow(SW_SHOW);
    PumpPendingMessages();
    EXPECT_EQ(log.Of({WM_PAINT}), (std::vector<std::string>{"b:WM_PAINT", "inner:WM_PAINT"}));
}

TEST_F(Painting, UpdateWindowPaintsAtOnceAndPresentsTheTopLevel)
{
    session->SetPresentation(true);
    PumpPendingMessages();
    const int presented = session->PresentCount(top.GetSafeHwnd());
    EXPECT_GE(presented, 1);
    a.Invalidate(FALSE);
    log.Clear();
    a.UpdateWindow();
    EXPECT_EQ(log.Of({WM_PAINT}), (std::vector<std::string>{"a:WM_PAINT"}));
    EXPECT_EQ(session->PresentCount(top.GetSafeHwnd()), presented + 1);
}

} // namespace
