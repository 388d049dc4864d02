#include "controls/buttons/curve_mode_selector_wnd.h"

#include "controls/base/painting_helpers.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

TEST(CurveModeSelectorGeometry, TwoSegmentsWithASixPixelGap)
{
    const RECT mid = CCurveModeSelectorWnd::SegmentRect(CSize(220, 44), 0);
    const RECT side = CCurveModeSelectorWnd::SegmentRect(CSize(220, 44), 1);
    EXPECT_EQ(mid.left, 7);
    EXPECT_EQ(mid.right, 107);
    EXPECT_EQ(side.left, 113);
    EXPECT_EQ(side.right, 213);
    EXPECT_EQ(mid.top, 7);
    EXPECT_EQ(side.bottom, 37);
    struct Case
    {
        CPoint point;
        int segment;
    };
    const Case cases[] = {{{7, 7}, 0},    {{106, 36}, 0}, {{107, 20}, -1}, {{110, 20}, -1},
                          {{113, 20}, 1}, {{212, 36}, 1}, {{150, 37}, -1}, {{150, 3}, -1}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(CCurveModeSelectorWnd::HitTestModeSegment(CSize(220, 44), c.point), c.segment)
            << c.point.x << ", " << c.point.y;
    }
}

class CurveModeSelector : public ControlTest
{
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        CreateIn(selector, CRect(CPoint(20, 20), selector.GetPreferredSize()));
    }

    bool RepaintPending() const
    {
        return ::GetUpdateRect(selector.GetSafeHwnd(), nullptr, FALSE) != FALSE;
    }

    CCurveModeSelectorWnd selector;
};

TEST_F(CurveModeSelector, SetModeSelectsSideForAnythingAboveZero)
{
    EXPECT_EQ(selector.GetStyle(), 0x56000000u);
    for (const auto& [m, mode, told] :
         std::vector<std::tuple<int, int, bool>>{{5, 1, true}, {0, 0, true}, {-1, 0, false}})
    {
        heard.clear();
        selector.UpdateWindow();
        selector.SetMode(m);
        EXPECT_EQ(selector.GetMode(), mode) << m;
        EXPECT_EQ(selector.GetValue(), double(mode));
        EXPECT_EQ(Count(WMU_CONTROL_CHANGED), told ? 1 : 0) << m;
        EXPECT_EQ(RepaintPending(), told) << m;
    }
}

TEST_F(CurveModeSelector, AClickSelectsItsSegmentAndAClickAcrossDoesNothing)
{
    session->Click(At(selector, 160, 20));
    EXPECT_EQ(selector.GetMode(), 1);
    ASSERT_EQ(Count(WMU_CONTROL_CHANGED), 1);
    EXPECT_EQ(heard[0].value, 1.0) << "the parent reads the new mode";

    session->AdvanceTime(600);
    session->Click(At(selector, 160, 20));
    EXPECT_EQ(Count(WMU_CONTROL_CHANGED), 2) << "the selected segment again";

    session->AdvanceTime(600);
    session->PressButton(At(selector, 50, 20));
    session->ReleaseButton(At(selector, 160, 20));
    EXPECT_EQ(selector.GetMode(), 1);
    EXPECT_EQ(selector.GetState().pressedSegment, -1);
    session->AdvanceTime(600);
    session->Click(At(selector, 110, 20)); // the gap
    EXPECT_EQ(selector.GetMode(), 1);
    EXPECT_EQ(Count(WMU_CONTROL_CHANGED), 2);
    EXPECT_EQ(Count(WMU_CONTROL_COMMIT), 0);

    selector.SetDisabled(true);
    session->AdvanceTime(600);
    session->Click(At(selector, 50, 20));
    EXPECT_EQ(selector.GetMode(), 0) << "a disabled selector follows clicks";
    EXPECT_EQ(Count(WMU_CONTROL_CHANGED), 2) << "silently";
}

TEST_F(CurveModeSelector, HoverShowsAHandAndLeavesWithThePointer)
{
    session->MoveMouse(At(selector, 50, 20));
    EXPECT_EQ(selector.GetState().hoverSegment, 0);
    EXPECT_EQ(brvl::win32::StandardCursorId(session->ShownCursor()),
              reinterpret_cast<UINT_PTR>(IDC_HAND));
    session->MoveMouse(At(selector, 110, 20));
    EXPECT_EQ(brvl::win32::StandardCursorId(session->ShownCursor()),
              reinterpret_cast<UINT_PTR>(IDC_ARROW));
    session->MoveMouse(At(selector, 160, 20));
    session->MoveMouse(ScreenPoint(parent, 700, 500));
    PumpPendingMessages();
    EXPECT_EQ(selector.GetState().hoverSegment, -1);
}

TEST(CurveModeSelectorPicture, MidAndSideWithHoverAndATallControl)
{
    Gdiplus::Bitmap sheet(220, 44 * 3 + 80);
    Gdiplus::Graphics graphics(&sheet);
    const auto paint = [&](CCurveModeSelectorWnd::State state, int y)
    {
        Gdiplus::Bitmap cell(state.size.cx, state.size.cy);
        {
            Gdiplus::Graphics g(&cell);
            PrepareControlGraphics(g);
            CCurveModeSelectorWnd::Draw(g, state);
        }
        graphics.DrawImage(&cell, 0.0f, float(y));
        return PixelAt(cell, 110, state.size.cy - 2);
    };
    CCurveModeSelectorWnd::State state;
    state.size = CSize(220, 44);
    paint(state, 0);
    state.mode = 1;
    state.hoverSegment = 0;
    paint(state, 44);
    state.pressedSegment = 1;
    paint(state, 88);
    state.size = CSize(220, 80);
    state.snapshot.backgroundColor = RGB(40, 0, 0);
    EXPECT_EQ(paint(state, 132), RGB(40, 0, 0)) << "below the 42-pixel track";
    ASSERT_TRUE(SaveControlPicture(sheet, "curve_mode_selector"));
}
