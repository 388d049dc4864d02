#include "platform/win32/message_loop.h"
#include "tests/platform/test_windows.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{

using brvl::win32::MouseButton;

class InputRouting : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(top.CreateTopLevel(RECT{100, 100, 500, 400}));
        ASSERT_TRUE(left.CreateChild(top, RECT{10, 10, 110, 110}, 1));
        ASSERT_TRUE(right.CreateChild(top, RECT{200, 10, 300, 110}, 2));
        Settle();
    }

    RecordingWnd top{"top", log};
    RecordingWnd left{"left", log};
    RecordingWnd right{"right", log};
};

TEST_F(InputRouting, CapturedWindowGetsEveryMouseMessageAndHearsItsCaptureEnd)
{
    std::vector<std::string> order;
    left.On(WM_CAPTURECHANGED,
            [&](WPARAM, LPARAM lParam)
            {
                order.push_back(lParam == reinterpret_cast<LPARAM>(right.GetSafeHwnd())
                                    ? "left lost to right"
                                    : "left lost");
                return LRESULT{0};
            });
    right.On(WM_CAPTURECHANGED,
             [&](WPARAM, LPARAM lParam)
             {
                 order.push_back(lParam == 0 ? "right released" : "right lost");
                 EXPECT_EQ(::GetCapture(), nullptr) << "released before the message";
                 return LRESULT{0};
             });

    left.SetCapture();
    session->MoveMouse(ScreenPoint(top, 390, 5)); // far outside left
    ASSERT_FALSE(log.entries.empty());
    const LoggedMessage move = log.entries.back();
    EXPECT_EQ(move.window, "left");
    EXPECT_EQ(move.message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(GET_X_LPARAM(move.lParam), 380);
    EXPECT_EQ(GET_Y_LPARAM(move.lParam), -5) << "negative client coordinates while captured";
    EXPECT_EQ(log.Count("left", WM_SETCURSOR), 0) << "no cursor request while captured";
    EXPECT_EQ(session->PointerGrab(), left.GetSafeHwnd());

    EXPECT_EQ(::SetCapture(right.GetSafeHwnd()), left.GetSafeHwnd());
    order.push_back("SetCapture returned");
    ::ReleaseCapture();
    order.push_back("ReleaseCapture returned");

    EXPECT_EQ(order, (std::vector<std::string>{"left lost to right", "SetCapture returned",
                                               "right released", "ReleaseCapture returned"}));
    EXPECT_EQ(session->PointerGrab(), nullptr);
}

TEST_F(InputRouting, DisablingTheHolderOrDestroyingItEndsTheCapture)
{
    left.SetCapture();
    left.EnableWindow(FALSE);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(log.Of({WM_CANCELMODE, WM_CAPTURECHANGED}),
              (std::vector<std::string>{"left:WM_CANCELMODE", "left:WM_CAPTURECHANGED"}));

    log.Clear();
    right.SetCapture();
    right.DestroyWindow();
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(log.Count("right", WM_CAPTURECHANGED), 0) << "destroy releases without a message";
}

struct ClickCase
{
    const char* name;
    UINT classStyle;
    int secondPressDx;
    std::uint64_t delayMs;
    std::vector<std::string> expected;
};

class DoubleClicks : public InputRouting, public ::testing::WithParamInterface<ClickCase>
{
};

TEST_P(DoubleClicks, SecondPressFollowsTheClassStyleTimeAndDistance)
{
    const ClickCase& c = GetParam();
    RecordingWnd target("t", log);
    ASSERT_TRUE(target.CreateChild(top, RECT{120, 150, 220, 250}, 3, c.classStyle));
    const POINT at = ScreenPoint(target, 50, 50);
    session->Click(at);
    session->AdvanceTime(c.delayMs);
    session->Click(POINT{at.x + c.secondPressDx, at.y});
    session->Click(POINT{at.x + c.secondPressDx, at.y}); // a third press is plain

    std::vector<std::string> got = log.Of({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK});
    EXPECT_EQ(got, c.expected) << c.name;
}

const std::vector<std::string> kDoubled = {"t:WM_LBUTTONDOWN",   "t:WM_LBUTTONUP",
                                           "t:WM_LBUTTONDBLCLK", "t:WM_LBUTTONUP",
                                           "t:WM_LBUTTONDOWN",   "t:WM_LBUTTONUP"};
const std::vector<std::string> kPlain = {"t:WM_LBUTTONDOWN", "t:WM_LBUTTONUP",   "t:WM_LBUTTONDOWN",
                                         "t:WM_LBUTTONUP",   "t:WM_LBUTTONDOWN", "t:WM_LBUTTONUP"};
// A second press that came too late or too far starts a new pair with the third.
const std::vector<std::string> kRestarted = {"t:WM_LBUTTONDOWN",   "t:WM_LBUTTONUP",
                                             "t:WM_LBUTTONDOWN",   "t:WM_LBUTTONUP",
                                             "t:WM_LBUTTONDBLCLK", "t:WM_LBUTTONUP"};

INSTANTIATE_TEST_SUITE_P(
    Cases, DoubleClicks,
    ::testing::Values(ClickCase{"DblClksClass", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, 0, 100,
                                kDoubled},
                      ClickCase{"PlainClass", CS_HREDRAW | CS_VREDRAW, 0, 100, kPlain},
                      ClickCase{"EdgeOfBoxAndTime", CS_DBLCLKS, 2, 500, kDoubled},
                      ClickCase{"TooFar", CS_DBLCLKS, 3, 100, kRestarted},
                      ClickCase{"TooSlow", CS_DBLCLKS, 0, 501, kRestarted}),
    [](const ::testing::TestParamInfo<ClickCase>& info) { return std::string(info.param.name); });

TEST_F(InputRouting, MouseLeaveIsPostedOncePerRequest)
{
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, left.GetSafeHwnd(), 0};
    session->MoveMouse(ScreenPoint(left, 5, 5));
    EXPECT_TRUE(::TrackMouseEvent(&track));
    session->MoveMouse(ScreenPoint(left, 6, 5));
    EXPECT_EQ(log.Count("left", WM_MOUSELEAVE), 0);

    session->MoveMouse(ScreenPoint(top, 150, 50)); // onto the parent
    session->MoveMouse(ScreenPoint(right, 5, 5));
    EXPECT_EQ(log.Count("left", WM_MOUSELEAVE), 1);

    ::TrackMouseEvent(&track); // arming while outside posts at once
    PumpPendingMessages();
    EXPECT_EQ(log.Count("left", WM_MOUSELEAVE), 2);
    session->MoveMouse(ScreenPoint(left, 5, 5));
    session->MoveMouse(ScreenPoint(right, 5, 5));
    EXPECT_EQ(log.Count("left", WM_MOUSELEAVE), 2) << "not re-armed, so no leave";
}

TEST_F(InputRouting, LeaveOntoAChildCountsAndIsDeferredWhileCaptured)
{
    RecordingWnd inner("inner", log);
    ASSERT_TRUE(inner.CreateChild(left, RECT{50, 50, 90, 90}));
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, left.GetSafeHwnd(), 0};
    session->MoveMouse(ScreenPoint(left, 5, 5));
    ::TrackMouseEvent(&track);
    left.SetCapture();
    session->MoveMouse(ScreenPoint(left, 60, 60)); // over the child, still captured
    EXPECT_EQ(log.Count("left", WM_MOUSELEAVE), 0);
    ::ReleaseCapture();
    PumpPendingMessages();
    EXPECT_EQ(log.Count("left", WM_MOUSELEAVE), 1);
}

TEST_F(InputRouting, WheelDefaultHandlingReachesTheParentWithTheScreenPoint)
{
    RecordingWnd inner("inner", log);
    ASSERT_TRUE(inner.CreateChild(left, RECT{50, 50, 90, 90}));
    const POINT at = ScreenPoint(inner, 5, 5);
    session->Wheel(at, -120);
    EXPECT_EQ(log.Of({WM_MOUSEWHEEL}),
              (std::vector<std::string>{"inner:WM_MOUSEWHEEL", "left:WM_MOUSEWHEEL",
                                        "top:WM_MOUSEWHEEL"}));
    const auto atTopIt = std::find_if(log.entries.begin(), log.entries.end(),
                                      [](const LoggedMessage& e)
                                      { return e.window == "top" && e.message == WM_MOUSEWHEEL; });
    ASSERT_NE(atTopIt, log.entries.end());
    const LoggedMessage& atTop = *atTopIt;
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(atTop.wParam), -120);
    EXPECT_EQ(GET_X_LPARAM(atTop.lParam), at.x);
    EXPECT_EQ(GET_Y_LPARAM(atTop.lParam), at.y);

    log.Clear();
    // A handler reporting "unhandled" without calling the default stops it there.
    inner.On(WM_MOUSEWHEEL, [](WPARAM, LPARAM) { return LRESULT{FALSE}; });
    session->Wheel(at, 120);
    EXPECT_EQ(log.Of({WM_MOUSEWHEEL}), (std::vector<std::string>{"inner:WM_MOUSEWHEEL"}));
}

TEST_F(InputRouting, HitTestingSkipsHiddenAndDisabledChildrenAndPrefersTheTopmost)
{
    RecordingWnd under("under", log);
    ASSERT_TRUE(under.CreateChild(top, RECT{10, 10, 110, 110}, 4)); // beneath `left`
    const POINT at = ScreenPoint(left, 20, 20);
    session->Click(at);
    EXPECT_EQ(log.Count("left", WM_LBUTTONDOWN), 1) << "the earlier sibling is on top";

    left.EnableWindow(FALSE);
    session->Click(at);
    EXPECT_EQ(log.Count("under", WM_LBUTTONDOWN), 1) << "a disabled child lets the click through";

    under.ShowWindow(SW_HIDE);
    session->Click(at);
    EXPECT_EQ(log.Count("top", WM_LBUTTONDOWN), 1) << "hidden windows are not hit";
}

TEST_F(InputRouting, DefaultCursorRequestAsksTheParentThenShowsTheClassCursor)
{
    RecordingWnd hand("hand", log);
    const LPCTSTR handClass =
        AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_HAND));
    ASSERT_TRUE(hand.CreateEx(0, handClass, L"BrimvaleHand", WS_CHILD | WS_VISIBLE,
                              CRect(120, 150, 180, 200), &top, 9));
    log.Clear();
    session->MoveMouse(ScreenPoint(hand, 5, 5));
    EXPECT_EQ(brvl::win32::StandardCursorId(session->ShownCursor()), IDC_HAND_ID);
    EXPECT_EQ(
        log.Of({WM_SETCURSOR, WM_MOUSEMOVE}),
        (std::vector<std::string>{"hand:WM_SETCURSOR", "top:WM_SETCURSOR", "hand:WM_MOUSEMOVE"}));
    const LoggedMessage& request = log.entries.front();
    EXPECT_EQ(LOWORD(request.lParam), HTCLIENT);
    EXPECT_EQ(HIWORD(request.lParam), WM_MOUSEMOVE);

    top.On(WM_SETCURSOR,
           [](WPARAM, LPARAM)
           {
               ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
               return LRESULT{TRUE};
           });
    session->MoveMouse(ScreenPoint(hand, 6, 5));
    EXPECT_EQ(brvl::win32::StandardCursorId(session->ShownCursor()), IDC_WAIT_ID)
        << "the parent's answer stops the default";
}

TEST_F(InputRouting, KeysGoToTheFocusWindowAndFocusChangesAreAnnounced)
{
    left.SetFocus();
    log.Clear();
    EXPECT_EQ(right.SetFocus(), &left);
    EXPECT_EQ(log.Of({WM_KILLFOCUS, WM_SETFOCUS}),
              (std::vector<std::string>{"left:WM_KILLFOCUS", "right:WM_SETFOCUS"}));

    log.Clear();
    session->Key(VK_ESCAPE);
    session->Key('A', L'a');
    EXPECT_EQ(log.Of({WM_KEYDOWN, WM_CHAR, WM_KEYUP}),
              (std::vector<std::string>{"right:WM_KEYDOWN", "right:WM_KEYUP", "right:WM_KEYDOWN",
                                        "right:WM_CHAR", "right:WM_KEYUP"}));
    EXPECT_EQ(log.entries[0].wParam, VK_ESCAPE);

    right.ShowWindow(SW_HIDE);
    EXPECT_EQ(::GetFocus(), top.GetSafeHwnd()) << "focus moves to the nearest visible ancestor";
}

TEST_F(InputRouting, DroppedFilesGoToTheNearestAcceptingWindow)
{
    top.DragAcceptFiles(TRUE);
    std::vector<std::wstring> received;
    POINT dropPoint{};
    top.On(WM_DROPFILES,
           [&](WPARAM wParam, LPARAM)
           {
               const HDROP drop = reinterpret_cast<HDROP>(wParam);
               const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
               for (UINT i = 0; i < count; ++i)
               {
                   std::wstring path(::DragQueryFileW(drop, i, nullptr, 0), L'\0');
                   ::DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size() + 1));
                   received.push_back(path);
               }
               ::DragQueryPoint(drop, &dropPoint);
               ::DragFinish(drop);
               return LRESULT{0};
           });

    session->DropFiles(ScreenPoint(left, 5, 5), {L"/music/mix é.wav", L"/b.flac"});
    EXPECT_EQ(received, (std::vector<std::wstring>{L"/music/mix é.wav", L"/b.flac"}));
    EXPECT_EQ(dropPoint.x, 15);
    EXPECT_EQ(dropPoint.y, 15);
    EXPECT_EQ(log.Count("left", WM_DROPFILES), 0);

    top.DragAcceptFiles(FALSE);
    session->DropFiles(ScreenPoint(left, 5, 5), {L"/c.wav"});
    EXPECT_EQ(received.size(), 2u) << "nobody accepting refuses the drop";
}

} // namespace

namespace
{

TEST_F(InputRouting, DpiChangesReachEveryWindowParentsFirst)
{
    RecordingWnd inner("inner", log);
    ASSERT_TRUE(inner.CreateChild(left, RECT{0, 0, 5, 5}));
    log.Clear();
    EXPECT_EQ(::GetDpiForWindow(inner.GetSafeHwnd()), 96u);
    brvl::win32::ChangeDpi(144);
    EXPECT_EQ(log.Of({WM_DPICHANGED}),
              (std::vector<std::string>{"top:WM_DPICHANGED", "left:WM_DPICHANGED",
                                        "inner:WM_DPICHANGED", "right:WM_DPICHANGED"}));
    EXPECT_EQ(LOWORD(log.entries.front().wParam), 144);
    EXPECT_EQ(::GetDpiForWindow(top.GetSafeHwnd()), 144u);

    log.Clear();
    brvl::win32::BroadcastSettingChange();
    EXPECT_EQ(log.Count("top", WM_SETTINGCHANGE), 1);
    EXPECT_EQ(log.Count("left", WM_SETTINGCHANGE), 0) << "top-levels only";
}

} // namespace
