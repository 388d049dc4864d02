#include "tests/display/display_test_support.h"

#include "pages/codex_viewport_wnd.h"
#include "tests/support/signals.h"

using namespace brvl::backend;

namespace
{

// The screen point of the middle of tab `index`, found through the switch's
// own hit test.
POINT TabCentre(const CSegmentSwitchWnd& tabs, int index)
{
    CRect client;
    tabs.GetClientRect(&client);
    int first = -1;
    int last = -1;
    const int y = client.Height() / 2;
    for (int x = 0; x < client.right; ++x)
    {
        if (tabs.HitTest(CPoint(x, y)) == index)
        {
            first = first < 0 ? x : first;
            last = x;
        }
    }
    return ScreenOf(tabs, (first + last) / 2, y);
}

TEST_F(DisplayTest, CodexTabsSwitchTheGraphThroughTheDisplay)
{
    ASSERT_TRUE(frame.CreateTopLevel(RECT{60, 60, 1040, 720}, WS_POPUP | WS_VISIBLE));
    ::SetWindowTextW(frame.GetSafeHwnd(), L"BRVL codex display test");
    CCodexViewportWnd page;
    ASSERT_TRUE(page.Create(&frame, CRect(10, 10, 970, 650)));
    AudioBuffer source = StereoSine(330, 8000, 2.0, 0.4);
    AudioBuffer processed = StereoSine(330, 8000, 2.0, 0.7);
    for (std::size_t i = 1; i < processed.samples.size(); i += 2)
    {
        processed.samples[i] *= 0.5; // a processed image leaning left
    }
    page.SetSourceData(source);
    page.SetProcessedData(processed);
    page.SetCursor(0.8);
    DispatchFor(std::chrono::milliseconds(300));

    // Every tab in turn and back to the first; the two pictures are taken
    // as their tabs show.
    struct Step
    {
        int tab;
        CWnd* graph;
        const char* picture; // null: none
    };
    const Step steps[] = {{kCodexEnergy, &page.energyGraph, nullptr},
                          {kCodexSpectrum, &page.toneGraph, "display_codex_spectrum.png"},
                          {kCodexStereo, &page.stereoGraph, "display_codex_stereo.png"},
                          {kCodexActivity, &page.activityGraph, nullptr},
                          {kCodexReference, &page.previewGraph, nullptr}};
    for (const Step& step : steps)
    {
        SCOPED_TRACE(::testing::Message() << "tab " << step.tab);
        const POINT at = TabCentre(page.tabSwitch, step.tab);
        const bool switched = RunWhileDispatching(
            Xdotool("search --sync --onlyvisible --name '^BRVL codex display test$'") +
                " >/dev/null && " + Xdotool("mousemove " + At(at) + " sleep 0.1 click 1"),
            [&] { return page.mode == step.tab; });
        ASSERT_TRUE(switched) << "the click was not heard";
        page.SetCursor(1.0);
        DispatchFor(std::chrono::milliseconds(200));
        for (CWnd* graph :
             {static_cast<CWnd*>(&page.previewGraph), static_cast<CWnd*>(&page.energyGraph),
              static_cast<CWnd*>(&page.toneGraph), static_cast<CWnd*>(&page.stereoGraph),
              static_cast<CWnd*>(&page.activityGraph)})
        {
            EXPECT_EQ(::IsWindowVisible(graph->GetSafeHwnd()) != FALSE, graph == step.graph)
                << graph->GetDlgCtrlID();
        }
        if (step.picture != nullptr)
        {
            ASSERT_TRUE(wx_testing::SaveScreenPng(kDisplayOutput / step.picture));
        }
    }
}

} // namespace
