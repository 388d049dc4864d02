#include "platform/win32/message_loop.h"
#include "tests/platform/test_windows.h"

#include <gtest/gtest.h>

namespace
{

constexpr UINT_PTR kTick = 16642;

class Timers : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(top.CreateTopLevel(RECT{0, 0, 200, 100}));
        Settle();
    }

    RecordingWnd top{"top", log};
};

TEST_F(Timers, ALateTimerFiresOnceAndIsRescheduledFromNow)
{
    ASSERT_EQ(top.SetTimer(kTick, 30, nullptr), kTick);
    session->AdvanceTime(29);
    EXPECT_EQ(log.Count("top", WM_TIMER), 0);
    session->AdvanceTime(1);
    EXPECT_EQ(log.Count("top", WM_TIMER), 1);

    session->AdvanceTime(300); // the interface thread was busy for ten periods
    EXPECT_EQ(log.Count("top", WM_TIMER), 2) << "no backlog after a long block";
    session->AdvanceTime(29);
    EXPECT_EQ(log.Count("top", WM_TIMER), 2) << "rescheduled from the late firing";
    session->AdvanceTime(1);
    EXPECT_EQ(log.Count("top", WM_TIMER), 3);
    EXPECT_EQ(log.entries.back().wParam, kTick);
}

TEST_F(Timers, TimersWaitForPostsAndPaintsAndStopWhenKilled)
{
    top.SetTimer(kTick, 30, nullptr);
    top.PostMessage(WM_APP);
    top.Invalidate(FALSE);
    session->AdvanceTime(30);
    EXPECT_EQ(log.Of({WM_APP, WM_PAINT, WM_TIMER}),
              (std::vector<std::string>{"top:WM_APP+0", "top:WM_PAINT", "top:WM_TIMER"}));

    top.On(WM_TIMER,
           [&](WPARAM, LPARAM)
           {
               top.KillTimer(kTick); // killed inside its own tick: never fires again
               return LRESULT{0};
           });
    session->AdvanceTime(30);
    session->AdvanceTime(300);
    EXPECT_EQ(log.Count("top", WM_TIMER), 2);
}

TEST_F(Timers, SettingAnExistingIdResetsItsPeriodAndTimersDieWithTheWindow)
{
    RecordingWnd child("child", log);
    ASSERT_TRUE(child.CreateChild(top, RECT{0, 0, 10, 10}));
    child.SetTimer(1, 100, nullptr);
    session->AdvanceTime(50);
    child.SetTimer(1, 100, nullptr); // due 100 ms from now, not from the first call
    session->AdvanceTime(60);
    EXPECT_EQ(log.Count("child", WM_TIMER), 0);
    session->AdvanceTime(40);
    EXPECT_EQ(log.Count("child", WM_TIMER), 1);

    child.DestroyWindow();
    session->AdvanceTime(1000);
    EXPECT_EQ(log.Count("child", WM_TIMER), 1);
}

} // namespace
