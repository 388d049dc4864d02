#include "tests/display/display_test_support.h"

#include "controls/knobs/master_knob_wnd.h"

using namespace brvl::backend;

namespace
{

TEST_F(DisplayTest, AMasterKnobFollowsADragPastItsFrameAndTheWheel)
{
    ASSERT_TRUE(frame.CreateTopLevel(RECT{100, 100, 500, 500}, WS_POPUP | WS_VISIBLE));
    ::SetWindowTextW(frame.GetSafeHwnd(), L"BRVL knob display test");
    CMasterKnobWnd knob;
    ASSERT_TRUE(knob.Create(CRect(CPoint(20, 20), knob.GetPreferredSize()), &frame, 1));
    DispatchFor(std::chrono::milliseconds(300));
    log.Clear();

    // From the cap straight up, out over the frame's top edge: the pointer
    // grab keeps the knob hearing the pointer there and the release.
    const POINT cap = ScreenOf(knob, 120, 134);
    const POINT above = ScreenOf(frame, 140, -40);
    // On a busy machine the frame can still be on its way to the screen.
    const bool dragged = RunWhileDispatching(
        Xdotool("search --sync --onlyvisible --name '^BRVL knob display test$'") +
            " >/dev/null && " +
            Xdotool("mousemove " + At(cap) + " sleep 0.1 mousedown 1 sleep 0.1 mousemove " +
                    At(POINT{cap.x, cap.y - 40}) + " sleep 0.1 mousemove " +
                    At(POINT{cap.x, cap.y - 120}) + " sleep 0.1 mousemove " + At(above) +
                    " sleep 0.1 mouseup 1"),
        [&] { return log.Count("frame", WMU_CONTROL_COMMIT) > 0; });
    ASSERT_TRUE(dragged) << "the drag was never committed";
    EXPECT_NEAR(knob.GetValue(), (cap.y - above.y) / 220.0, 1e-9);
    EXPECT_GE(log.Count("frame", WMU_CONTROL_CHANGED), 3);
    EXPECT_EQ(log.Count("frame", WMU_CONTROL_COMMIT), 1);

    // One notch up, one down: a step and a commit each.
    const double afterDrag = knob.GetValue();
    log.Clear();
    const bool turned = RunWhileDispatching(
        Xdotool("mousemove " + At(cap) + " sleep 0.1 click 4 sleep 0.1 click 5"),
        [&] { return log.Count("frame", WMU_CONTROL_COMMIT) >= 2; });
    ASSERT_TRUE(turned) << "the wheel was not heard";
    EXPECT_EQ(log.Count("frame", WMU_CONTROL_CHANGED), 2);
    EXPECT_EQ(log.Count("frame", WMU_CONTROL_COMMIT), 2);
    EXPECT_EQ(log.Count("frame", WM_MOUSEWHEEL), 0) << "the knob takes the turns";
    EXPECT_NEAR(knob.GetValue(), afterDrag, 1e-9);

    knob.SetValueSilently(0.9);
    DispatchFor(std::chrono::milliseconds(200));
    ASSERT_TRUE(wx_testing::SaveScreenPng(kDisplayOutput / "display_master_knob.png"));
}

} // namespace
