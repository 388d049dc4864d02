#include "platform/win32/message_loop.h"
#include "platform/win32/test_hooks.h"
#include "tests/platform/test_windows.h"

#include <gtest/gtest.h>

namespace
{

class WindowGeometry : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(top.CreateTopLevel(RECT{100, 50, 516, 389}, WS_OVERLAPPEDWINDOW | WS_VISIBLE));
        for (int i = 0; i < 3; ++i)
        {
            ASSERT_TRUE(children[i].CreateChild(top, RECT{0, 0, 10, 10}, 10 + i));
        }
        Settle();
    }

    RecordingWnd top{"top", log};
    RecordingWnd children[3] = {{"c0", log}, {"c1", log}, {"c2", log}};
};

TEST_F(WindowGeometry, DeferredBatchMovesEveryWindowBeforeAnyHearsOfIt)
{
    std::vector<std::string> seenDuringFirstSize;
    children[0].On(WM_SIZE,
                   [&](WPARAM, LPARAM)
                   {
                       for (const RecordingWnd& c : children)
                       {
                           CRect r;
                           c.GetClientRect(&r);
                           seenDuringFirstSize.push_back(std::to_string(r.Width()));
                       }
                       return std::optional<LRESULT>{};
                   });
    HDWP batch = ::BeginDeferWindowPos(3);
    for (int i = 0; i < 3; ++i)
    {
        batch = ::DeferWindowPos(batch, children[i].GetSafeHwnd(), nullptr, 20 * i, 0, 20 + i, 15,
                                 SWP_NOZORDER);
        ASSERT_NE(batch, nullptr);
    }
    EXPECT_EQ(log.Count("c0", WM_SIZE), 0) << "nothing happens before the batch ends";
    EXPECT_TRUE(::EndDeferWindowPos(batch));

    EXPECT_EQ(seenDuringFirstSize, (std::vector<std::string>{"20", "21", "22"}));
    EXPECT_EQ(log.Of({WM_SIZE}),
              (std::vector<std::string>{"c0:WM_SIZE", "c1:WM_SIZE", "c2:WM_SIZE"}));
    PumpPendingMessages();
    EXPECT_EQ(log.Count("c2", WM_PAINT), 1) << "one repaint per resized window";
}

TEST_F(WindowGeometry, AFailedDeferLeavesNoBatchAndWindowsUnmoved)
{
    RecordingWnd nested("nested", log);
    ASSERT_TRUE(nested.CreateChild(children[0], RECT{0, 0, 5, 5}));
    HDWP batch = ::BeginDeferWindowPos(2);
    batch = ::DeferWindowPos(batch, children[1].GetSafeHwnd(), nullptr, 1, 1, 1, 1, SWP_NOZORDER);
    ASSERT_NE(batch, nullptr);
    EXPECT_EQ(::DeferWindowPos(batch, nested.GetSafeHwnd(), nullptr, 1, 1, 1, 1, SWP_NOZORDER),
              nullptr)
        << "windows of one batch share one parent";

    FailNextDeferWindowPos();
    HDWP other = ::BeginDeferWindowPos(1);
    EXPECT_EQ(::DeferWindowPos(other, children[2].GetSafeHwnd(), nullptr, 1, 1, 1, 1, 0), nullptr);
    CRect r;
    children[1].GetClientRect(&r);
    EXPECT_EQ(r.Width(), 10);
}

TEST_F(WindowGeometry, MoveWindowSendsSizeOnlyWhenTheSizeChangesAndClampsTo16Bits)
{
    children[0].MoveWindow(5, 5, 10, 10);
    EXPECT_EQ(log.Of({WM_MOVE, WM_SIZE}), (std::vector<std::string>{"c0:WM_MOVE"}));
    children[0].MoveWindow(5, 5, 100000, -20);
    CRect r;
    children[0].GetClientRect(&r);
    EXPECT_EQ(r.Width(), 32767);
    EXPECT_EQ(r.Height(), 0);
    EXPECT_EQ(log.Count("c0", WM_SIZE), 1);
}

TEST_F(WindowGeometry, CoordinatesMapThroughTheTreeAndTheNotionalFrame)
{
    CRect client;
    top.GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 400, 300)) << "8 px sides, 31 px caption";
    children[1].MoveWindow(30, 40, 50, 60);
    RecordingWnd bordered("bordered", log);
    ASSERT_TRUE(bordered.CreateChild(children[1], RECT{5, 6, 25, 26}, 1, CS_HREDRAW,
                                     WS_CHILD | WS_VISIBLE | WS_BORDER));
    CPoint origin(0, 0);
    bordered.ClientToScreen(&origin);
    EXPECT_EQ(origin, CPoint(100 + 8 + 30 + 5 + 1, 50 + 31 + 40 + 6 + 1));
    bordered.ScreenToClient(&origin);
    EXPECT_EQ(origin, CPoint(0, 0));
    bordered.GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 18, 18));

    CRect window;
    children[1].GetWindowRect(&window);
    EXPECT_EQ(window, CRect(138, 121, 188, 181));
    EXPECT_EQ(top.GetDlgItem(11), &children[1]);
    EXPECT_EQ(children[1].GetDlgCtrlID(), 11);
    EXPECT_EQ(bordered.GetParent(), &children[1]);

    CRect frame(0, 0, 400, 300);
    ::AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    EXPECT_EQ(frame, CRect(-8, -31, 408, 308));
    CRect dialogFrame(0, 0, 100, 50);
    ::AdjustWindowRectEx(&dialogFrame, WS_POPUP | WS_CAPTION | DS_MODALFRAME, FALSE, 0);
    EXPECT_EQ(dialogFrame, CRect(-3, -26, 103, 53));
    WINDOWPLACEMENT placement{sizeof(WINDOWPLACEMENT)};
    ASSERT_TRUE(::GetWindowPlacement(top.GetSafeHwnd(), &placement));
    EXPECT_EQ(CRect(placement.rcNormalPosition), CRect(100, 50, 516, 389));
}

TEST_F(WindowGeometry, ShowWindowReportsThePreviousStateAndVisibilityFollowsAncestors)
{
    EXPECT_TRUE(children[0].ShowWindow(SW_HIDE));
    EXPECT_FALSE(children[0].ShowWindow(SW_HIDE));
    EXPECT_EQ(log.Count("c0", WM_SHOWWINDOW), 1) << "sent only on a change";
    RecordingWnd grandchild("g", log);
    ASSERT_TRUE(grandchild.CreateChild(children[1], RECT{0, 0, 5, 5}));
    children[1].ShowWindow(SW_HIDE);
    EXPECT_FALSE(grandchild.IsWindowVisible());
    EXPECT_TRUE(grandchild.GetStyle() & WS_VISIBLE);
}

} // namespace
