#include "controls/switches/ab_monitor_switch_wnd.h"

#include "controls/layout/control_item.h"
#include "platform/win32/window_picture.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

namespace
{

class ABMonitorSwitch : public ControlTest
{
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        CreateIn(ab, CRect(20, 20, 196, 100));
        parent.On(WM_MOUSEWHEEL,
                  [this](WPARAM, LPARAM) -> std::optional<LRESULT>
                  {
                      ++parentWheels;
                      return 0;
                  });
    }

    // A wheel message sent straight to the switch; its result.
    LRESULT SendWheel(short delta)
    {
        const POINT screen = At(ab, 88, 27);
        return ::SendMessage(ab.GetSafeHwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta),
                             MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
    }

    CABMonitorSwitchWnd ab;
    int parentWheels = 0;
};

} // namespace

TEST_F(ABMonitorSwitch, HitTestSplitsTheBodyIntoTwoHalves)
{
    const std::pair<CPoint, int> cases[] = {
        {CPoint(60, 27), 0}, {CPoint(120, 27), 1}, {CPoint(14, 10), 0},  {CPoint(87, 27), 0},
        {CPoint(88, 27), 1}, {CPoint(161, 43), 1}, {CPoint(13, 27), -1}, {CPoint(162, 27), -1},
        {CPoint(60, 9), -1}, {CPoint(60, 44), -1},
    };
    for (const auto& [point, half] : cases)
    {
        EXPECT_EQ(ab.HitTest(point), half) << point.x << ", " << point.y;
    }
    EXPECT_EQ(ab.GetKindName(), "ab monitor");
    EXPECT_EQ(ab.GetGridSpan(), CSize(4, 2));
    EXPECT_EQ(ab.GetPreferredSize(), CSize(176, 80));
    EXPECT_TRUE(ab.GetLabel().IsEmpty());
}

TEST_F(ABMonitorSwitch, AClickSelectsTheHalfItWasPressedAndReleasedOn)
{
    session->Click(At(ab, 120, 27));
    EXPECT_EQ(ab.GetSelectedState(), 1);
    ASSERT_EQ(heard.size(), 1u) << "a change and no commit";
    EXPECT_EQ(heard[0].message, WMU_CONTROL_CHANGED);
    EXPECT_EQ(heard[0].value, 1.0);

    session->Click(At(ab, 60, 27));
    EXPECT_EQ(ab.GetSelectedState(), 0);
    EXPECT_EQ(ab.GetValue(), 0.0);

    heard.clear();
    session->PressButton(At(ab, 60, 27));
    session->MoveMouse(At(ab, 120, 27));
    session->ReleaseButton(At(ab, 120, 27));
    EXPECT_EQ(ab.GetSelectedState(), 0);
    EXPECT_TRUE(heard.empty());

    // A capture loss ends the press without a change.
    session->PressButton(At(ab, 120, 27));
    EXPECT_EQ(ab.GetState().halves.pressedHalf, 1);
    parent.SetCapture();
    EXPECT_EQ(ab.GetState().halves.pressedHalf, -1);
    session->ReleaseButton(At(ab, 120, 27));
    ::ReleaseCapture();
    EXPECT_EQ(ab.GetSelectedState(), 0);
    EXPECT_TRUE(heard.empty());
}

TEST_F(ABMonitorSwitch, TheWheelTowardTheUserSelectsProcAndIsUnhandledWhenDisabled)
{
    struct Case
    {
        short delta;
        int state;
    };
    for (const Case c : {Case{-WHEEL_DELTA, 1}, Case{-WHEEL_DELTA, 1}, Case{0, 0}, Case{-1, 1},
                         Case{WHEEL_DELTA, 0}})
    {
        EXPECT_EQ(SendWheel(c.delta), TRUE) << c.delta;
        EXPECT_EQ(ab.GetSelectedState(), c.state) << c.delta;
    }
    EXPECT_EQ(Count(WMU_CONTROL_CHANGED), 4);

    session->Wheel(At(ab, 88, 27), -WHEEL_DELTA);
    EXPECT_EQ(ab.GetSelectedState(), 1);

    heard.clear();
    for (const bool blank : {false, true})
    {
        ab.SetDisabled(!blank);
        ab.SetBlank(blank);
        EXPECT_EQ(SendWheel(WHEEL_DELTA), FALSE);
        session->Wheel(At(ab, 88, 27), WHEEL_DELTA);
        EXPECT_EQ(ab.GetSelectedState(), 1);
    }
    EXPECT_EQ(parentWheels, 0) << "the wheel is not passed on";
    EXPECT_TRUE(heard.empty());
}

TEST_F(ABMonitorSwitch, ValuesPickASideFromOneHalf)
{
    ab.SetValue(0.7);
    EXPECT_EQ(ab.GetSelectedState(), 1);
    EXPECT_EQ(Count(WMU_CONTROL_CHANGED), 1);
    heard.clear();
    ab.SetValueSilently(0.2);
    EXPECT_EQ(ab.GetSelectedState(), 0);
    EXPECT_EQ(ab.GetValue(), 0.0);
    ab.SetValue(std::numeric_limits<double>::quiet_NaN());
    ab.SetValueSilently(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(ab.GetSelectedState(), 0);
    ab.SetValue(std::numeric_limits<double>::infinity());
    EXPECT_EQ(ab.GetSelectedState(), 1);
    EXPECT_EQ(Count(WMU_CONTROL_CHANGED), 1);

    // ApplyItem: the value first, then the selected index.
    heard.clear();
    ControlItem item;
    item.value = 0.0;
    item.selectedIndex = 5;
    ab.ApplyItem(item);
    EXPECT_EQ(ab.GetSelectedState(), 1);
    ASSERT_EQ(Count(WMU_CONTROL_CHANGED), 2);
    EXPECT_EQ(heard[0].value, 0.0);
    EXPECT_EQ(heard[1].value, 1.0);
}

TEST_F(ABMonitorSwitch, SurvivesItsParentDestroyingItDuringTheNotification)
{
    for (const bool byWheel : {false, true})
    {
        SCOPED_TRACE(byWheel ? "wheel" : "click");
        auto owned = std::make_unique<CABMonitorSwitchWnd>();
        CreateIn(*owned, CRect(20, 120, 196, 200), 2);
        const HWND hwnd = owned->GetSafeHwnd();
        parent.On(WMU_CONTROL_CHANGED,
                  [&](WPARAM, LPARAM) -> std::optional<LRESULT>
                  {
                      owned.reset();
                      return 0;
                  });
        if (byWheel)
        {
            session->Wheel(At(*owned, 88, 27), -WHEEL_DELTA);
        }
        else
        {
            session->Click(At(*owned, 120, 27));
        }
        EXPECT_EQ(owned, nullptr);
        EXPECT_FALSE(::IsWindow(hwnd));
        session->AdvanceTime(600);
    }
}

TEST_F(ABMonitorSwitch, HoverFollowsThePointerAndClearsWhenItLeaves)
{
    RecordingWnd sibling("sibling", log);
    ASSERT_TRUE(sibling.CreateChild(parent, CRect(300, 20, 400, 100), 2));
    Settle();

    session->MoveMouse(At(ab, 60, 27));
    EXPECT_EQ(ab.GetState().halves.hoverHalf, 0);
    session->MoveMouse(At(ab, 120, 27));
    EXPECT_EQ(ab.GetState().halves.hoverHalf, 1);
    session->MoveMouse(At(ab, 120, 70));
    EXPECT_EQ(ab.GetState().halves.hoverHalf, -1);
    session->MoveMouse(At(ab, 120, 27));
    EXPECT_EQ(ab.GetState().halves.hoverHalf, 1);

    session->MoveMouse(At(sibling, 50, 40));
    EXPECT_EQ(ab.GetState().halves.hoverHalf, -1) << "the leave notice came";
}

TEST_F(ABMonitorSwitch, PicturesAtOrigAndAtProcWithHover)
{
    for (const CSize size : {CSize(176, 80), CSize(120, 60)})
    {
        ab.MoveWindow(20, 20, size.cx, size.cy);
        const std::string at = std::to_string(size.cx) + "x" + std::to_string(size.cy);
        ab.SetValueSilently(0.0);
        session->MoveMouse(At(parent, 700, 500));
        ASSERT_TRUE(
            RenderWindowToPng(ab.GetSafeHwnd(), ControlPicturePath("ab_monitor_orig_" + at)));

        ab.SetValueSilently(1.0);
        session->MoveMouse(At(ab, 30, 27)); // over ORIG while PROC is selected
        ASSERT_EQ(ab.GetState().halves.hoverHalf, 0);
        ASSERT_TRUE(
            RenderWindowToPng(ab.GetSafeHwnd(), ControlPicturePath("ab_monitor_proc_hover_" + at)));
        WindowPicture picture;
        ASSERT_TRUE(ComposeWindowPicture(ab.GetSafeHwnd(), picture));
        const int halfWidth = (size.cx - 28) / 2;
        const COLORREF proc = picture.ColorAt(14 + halfWidth + 8, 20);
        EXPECT_GT(GetRValue(proc), 120) << "the selected pill is the accent";
    }
    // Narrower than its insets: an empty body that no point hits.
    ab.MoveWindow(20, 20, 20, 80);
    ASSERT_TRUE(RenderWindowToPng(ab.GetSafeHwnd(), ControlPicturePath("ab_monitor_20x80")));
    for (int x = 0; x < 20; ++x)
    {
        EXPECT_EQ(ab.HitTest(CPoint(x, 27)), -1);
    }
}
