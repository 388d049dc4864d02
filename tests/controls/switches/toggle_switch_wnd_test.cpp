#include "controls/switches/toggle_switch_wnd.h"

#include "controls/layout/control_item.h"
#include "platform/win32/window_picture.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace
{

class ToggleSwitch : public ControlTest
{
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        CreateIn(toggle, CRect(20, 20, 100, 100));
    }

    // Client points: on the track, and outside it above.
    POINT OnTrack() const { return At(toggle, 40, 36); }
    POINT AboveTrack() const { return At(toggle, 40, 10); }

    CToggleSwitchWnd toggle;
};

} // namespace

TEST(ToggleSwitchLayout, PlacesTrackAndKnobInTheClient)
{
    const ToggleSwitchLayout off = ToggleSwitchLayout::Of(RECT{0, 0, 80, 80}, false);
    EXPECT_EQ(CRect(off.track), CRect(7, 22, 73, 51));
    EXPECT_EQ(CRect(off.labelBox), CRect(4, 6, 76, 20));
    EXPECT_EQ(CRect(off.stateBox), CRect(7, 57, 73, 73));
    EXPECT_EQ(CRect(off.knobX, off.knobY, off.knobX + off.knobWidth, off.knobY + off.knobHeight),
              CRect(CPoint(10, 25), CSize(30, 23)));
    const ToggleSwitchLayout on = ToggleSwitchLayout::Of(RECT{0, 0, 80, 80}, true);
    EXPECT_EQ(CRect(on.knobX, on.knobY, on.knobX + on.knobWidth, on.knobY + on.knobHeight),
              CRect(CPoint(40, 25), CSize(30, 23)));

    // The track stops growing at 72 x 29 and is centred; offsets follow the rectangle.
    const ToggleSwitchLayout wide = ToggleSwitchLayout::Of(RECT{100, 50, 300, 250}, true);
    EXPECT_EQ(CRect(wide.track), CRect(164, 72, 236, 101));
    EXPECT_EQ(wide.knobX, 200);
    EXPECT_EQ(wide.knobY, 75);

    // Too small a client leaves a track of no size.
    const ToggleSwitchLayout tiny = ToggleSwitchLayout::Of(RECT{0, 0, 10, 30}, true);
    EXPECT_TRUE(CRect(tiny.track).IsRectEmpty());
}

TEST_F(ToggleSwitch, StartsOnWithValueZeroAsItsCreatorLeavesIt)
{
    EXPECT_TRUE(toggle.IsOn());
    EXPECT_EQ(toggle.GetValue(), 0.0);
    EXPECT_EQ(toggle.GetLabel().Str(), L"Bypass");
    EXPECT_EQ(toggle.GetKindName(), "toggle switch");
    EXPECT_EQ(toggle.GetGridSpan(), CSize(2, 2));
    EXPECT_EQ(toggle.GetPreferredSize(), CSize(80, 80));
    wchar_t name[64] = {};
    toggle.GetWindowText(name, 64);
    EXPECT_STREQ(name, L"BrimvaleToggleSwitchWnd");
    EXPECT_EQ(toggle.GetStyle(), 0x54000000u);
}

TEST_F(ToggleSwitch, ValuesTurnItOnFromOneHalfAndNotifyEachChangeOnce)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case
    {
        double input;
        bool on;
        int messages;
    };
    // From on with value 0: each step starts where the last ended.
    const Case cases[] = {{0.49, false, 1}, {0.2, false, 0}, {0.5, true, 1},
                          {0.9, true, 0},   {nan, true, 0},  {-inf, false, 1},
                          {nan, false, 0},  {inf, true, 1},  {-3, false, 1}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.input);
        heard.clear();
        toggle.SetValue(c.input);
        EXPECT_EQ(toggle.IsOn(), c.on);
        EXPECT_EQ(toggle.GetValue(), c.on ? 1.0 : 0.0);
        ASSERT_EQ(Count(WMU_CONTROL_CHANGED), c.messages);
        if (c.messages > 0)
        {
            EXPECT_EQ(heard[0].value, c.on ? 1.0 : 0.0);
        }
    }

    heard.clear();
    toggle.SetValueSilently(0.2);
    EXPECT_FALSE(toggle.IsOn());
    toggle.SetValueSilently(nan);
    EXPECT_FALSE(toggle.IsOn());
    toggle.SetValueSilently(0.7);
    EXPECT_TRUE(toggle.IsOn());
    EXPECT_EQ(toggle.GetValue(), 1.0);
    EXPECT_TRUE(heard.empty());
}

TEST_F(ToggleSwitch, ApplyItemSetsTheValueThenTheToggleValue)
{
    toggle.SetOn(false);
    heard.clear();
    ControlItem item;
    item.value = 1.0;
    item.toggleValue = false;
    toggle.ApplyItem(item);
    EXPECT_FALSE(toggle.IsOn());
    EXPECT_EQ(toggle.GetValue(), 0.0);
    ASSERT_EQ(Count(WMU_CONTROL_CHANGED), 2);
    EXPECT_EQ(heard[0].value, 1.0);
    EXPECT_EQ(heard[1].value, 0.0);
}

TEST_F(ToggleSwitch, AClickOnTheTrackFlipsAndCommitsWhereverItIsReleased)
{
    session->Click(OnTrack());
    EXPECT_FALSE(toggle.IsOn());
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].message, WMU_CONTROL_CHANGED);
    EXPECT_EQ(heard[1].message, WMU_CONTROL_COMMIT);
    EXPECT_EQ(heard[1].value, 0.0);

    // Pressed on the track, released far off it: still a flip.
    heard.clear();
    session->AdvanceTime(600);
    session->PressButton(OnTrack());
    session->MoveMouse(At(toggle, 200, 200));
    session->ReleaseButton(At(toggle, 200, 200));
    EXPECT_TRUE(toggle.IsOn());
    EXPECT_EQ(Count(WMU_CONTROL_COMMIT), 1);

    // A press outside the track does nothing.
    heard.clear();
    session->AdvanceTime(600);
    session->Click(AboveTrack());
    EXPECT_TRUE(toggle.IsOn());
    EXPECT_TRUE(heard.empty());
}

TEST_F(ToggleSwitch, TwoQuickClicksFlipTwiceAndACaptureLossFlipsNothing)
{
    session->Click(OnTrack());
    session->Click(OnTrack());
    EXPECT_TRUE(toggle.IsOn());
    EXPECT_EQ(Count(WMU_CONTROL_CHANGED), 2);
    EXPECT_EQ(Count(WMU_CONTROL_COMMIT), 2);

    heard.clear();
    session->AdvanceTime(600);
    session->PressButton(OnTrack());
    parent.SetCapture(); // another window takes the mouse
    session->ReleaseButton(OnTrack());
    ::ReleaseCapture();
    EXPECT_TRUE(toggle.IsOn());
    EXPECT_TRUE(heard.empty());
}

TEST_F(ToggleSwitch, DisabledOrBlankItTakesNoClick)
{
    for (const bool blank : {false, true})
    {
        toggle.SetDisabled(!blank);
        toggle.SetBlank(blank);
        session->AdvanceTime(600);
        session->Click(OnTrack());
        EXPECT_TRUE(toggle.IsOn()) << (blank ? "blank" : "disabled");
    }
    EXPECT_TRUE(heard.empty());
}

TEST_F(ToggleSwitch, KeepsItsHoverLookWhenThePointerLeaves)
{
    session->MoveMouse(OnTrack());
    EXPECT_TRUE(toggle.GetDrawState().hover);
    session->MoveMouse(At(parent, 700, 500));
    EXPECT_TRUE(toggle.GetDrawState().hover);
    session->MoveMouse(AboveTrack());
    EXPECT_FALSE(toggle.GetDrawState().hover);
}

TEST_F(ToggleSwitch, PicturesOnAndOffAtTwoSizes)
{
    // The knob takes the accent when on and stays grey when off.
    for (const CSize size : {CSize(80, 80), CSize(150, 110)})
    {
        toggle.MoveWindow(20, 20, size.cx, size.cy);
        for (const bool on : {true, false})
        {
            toggle.SetValueSilently(on ? 1.0 : 0.0);
            const std::string name = "toggle_switch_" + std::string(on ? "on_" : "off_") +
                                     std::to_string(size.cx) + "x" + std::to_string(size.cy);
            ASSERT_TRUE(RenderWindowToPng(toggle.GetSafeHwnd(), ControlPicturePath(name)));
            WindowPicture picture;
            ASSERT_TRUE(ComposeWindowPicture(toggle.GetSafeHwnd(), picture));
            const ToggleSwitchLayout layout =
                ToggleSwitchLayout::Of(RECT{0, 0, size.cx, size.cy}, on);
            const COLORREF knob = picture.ColorAt(layout.knobX + layout.knobWidth / 2,
                                                  layout.knobY + layout.knobHeight / 2);
            if (on)
            {
                EXPECT_GT(GetRValue(knob), 150) << name;
            }
            else
            {
                EXPECT_LT(GetRValue(knob), 60) << name;
            }
        }
    }
    // Too small for a track: the caption and state text only, and no click lands.
    toggle.MoveWindow(20, 20, 10, 30);
    ASSERT_TRUE(RenderWindowToPng(toggle.GetSafeHwnd(), ControlPicturePath("toggle_switch_10x30")));
    session->Click(At(toggle, 5, 25));
    EXPECT_TRUE(heard.empty());
}
