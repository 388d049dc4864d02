#include "tests/display/display_test_support.h"

#include "engine/profiles/synthetic_profile.h"
#include "profiles/profile_editor_page_wnd.h"

#include <cmath>
#include <vector>

using namespace brvl::backend;

namespace
{

using Page = CReferenceProfileEditorViewportWnd;
using Editor = CProfileSpectrumEditorWnd;

// Screen point of a spectrum point `j` reading `db`.
POINT EditorScreenPoint(const Editor& editor, std::size_t j, double db)
{
    CRect client;
    editor.GetClientRect(&client);
    const RECT plot = Editor::PlotRect(client.Size());
    const Gdiplus::PointF c = Editor::ControlPointPosition(plot, j, editor.points.size(), db);
    return ScreenOf(editor, int(std::lround(c.X)), int(std::lround(c.Y)));
}

// Screen point on a slider's track at position v (0..1).
POINT SliderScreenPoint(const CHorizontalSliderWnd& slider, double v)
{
    const SliderLayout layout = slider.Layout();
    const int x =
        layout.track.left + int(std::lround(v * double(layout.track.right - layout.track.left)));
    return ScreenOf(slider, x, (layout.track.top + layout.track.bottom) / 2);
}

std::string Drag(POINT from, POINT to)
{
    const POINT middle{(from.x + to.x) / 2, (from.y + to.y) / 2};
    return "mousemove " + At(from) + " sleep 0.1 mousedown 1 sleep 0.1 mousemove " + At(middle) +
           " sleep 0.1 mousemove " + At(to) + " sleep 0.1 mouseup 1";
}

// The page in a top-level window, used through the display: a spline point
// and a slider dragged with the real pointer, each gesture ending in exactly
// one live edit that already carries the change.
TEST_F(DisplayTest, TheProfileEditorPageSendsALiveEditForEachGestureThroughTheDisplay)
{
    ASSERT_TRUE(frame.CreateTopLevel(RECT{60, 60, 1020, 580}, WS_POPUP | WS_VISIBLE));
    ::SetWindowTextW(frame.GetSafeHwnd(), L"BRVL profile editor display test");
    Page page;
    ASSERT_TRUE(page.Create(CRect(0, 0, 960, 520), &frame));
    page.SetProfile(BuildSyntheticDefaultProfile(), L"");

    // What the parent sees during each send: the action and the edit in effect.
    std::vector<int> actions;
    std::vector<double> midPointThree;
    std::vector<double> tilts;
    frame.On(WMU_PROFILE_EDITOR_ACTION,
             [&](WPARAM, LPARAM lParam) -> std::optional<LRESULT>
             {
                 actions.push_back(reinterpret_cast<const ProfileEditorAction*>(lParam)->action);
                 midPointThree.push_back(page.midPoints[3]);
                 tilts.push_back(page.GetToneTiltDb());
                 return 0;
             });
    DispatchFor(std::chrono::milliseconds(300));

    const POINT from = EditorScreenPoint(page.spectrumEditor, 3, page.spectrumEditor.points[3]);
    const POINT to = EditorScreenPoint(page.spectrumEditor, 3, 9.0);
    const bool dragged = RunWhileDispatching(
        Xdotool("search --sync --onlyvisible --name '^BRVL profile editor display test$'") +
            " >/dev/null && " + Xdotool(Drag(from, to)),
        [&] { return !actions.empty(); });
    ASSERT_TRUE(dragged) << "the point drag never ended in a live edit";
    DispatchFor(std::chrono::milliseconds(200));
    ASSERT_EQ(actions, (std::vector<int>{0}));
    EXPECT_NEAR(midPointThree[0], 9.0, 0.3) << "the edit is in place when the parent hears of it";
    const auto pointShot = kDisplayOutput / "display_profile_editor_point.png";
    ASSERT_TRUE(wx_testing::SaveScreenPng(pointShot));
    EXPECT_EQ(PixelsUnlikeTheTree(pointShot, frame), 0) << "the screen lags behind the page";

    actions.clear();
    const double tiltBefore = page.GetToneTiltDb();
    const bool slid =
        RunWhileDispatching(Xdotool(Drag(SliderScreenPoint(page.toneTiltSlider, 0.5),
                                         SliderScreenPoint(page.toneTiltSlider, 0.9))),
                            [&] { return !actions.empty(); });
    ASSERT_TRUE(slid) << "the slider drag never ended in a live edit";
    DispatchFor(std::chrono::milliseconds(200));
    ASSERT_EQ(actions, (std::vector<int>{0})) << "one edit at the drag's end, none during it";
    EXPECT_GT(tilts.back(), tiltBefore);
    EXPECT_NEAR(page.midPoints[3], 9.0, 0.3) << "the slider leaves the spline alone";
    const auto tiltShot = kDisplayOutput / "display_profile_editor_tilt.png";
    ASSERT_TRUE(wx_testing::SaveScreenPng(tiltShot));
    EXPECT_EQ(PixelsUnlikeTheTree(tiltShot, frame), 0) << "the screen lags behind the page";
}

} // namespace
