// A full layout and paint of the frame's toolbar with its images cached: what
// every resize and DPI change costs. Aim: under 1 ms.
#include "app/toolbar_host_wnd.h"
#include "platform/backend/headless_backend.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace
{

std::vector<ToolbarButtonDef> FrameButtons()
{
    std::vector<ToolbarButtonDef> defs;
    for (const wchar_t* image : {L"331", L"332", L"333", L"334"})
    {
        ToolbarButtonDef def;
        def.button.commandId = static_cast<int>(defs.size()) + 1001;
        def.button.imageName = image;
        def.button.imageSource = 0;
        defs.push_back(def);
        if (defs.size() == 3)
        {
            ToolbarButtonDef separator;
            separator.type = ToolbarButtonDef::kSeparator;
            separator.separatorWidth = 12;
            defs.push_back(separator);
        }
    }
    return defs;
}

void ToolbarLayoutAndPaint(benchmark::State& state)
{
    brvl::backend::HeadlessSession session;
    CWnd parent;
    parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, 1280, 200, nullptr,
                    nullptr);
    CToolbarHostWnd bar;
    bar.Create(&parent, 100);
    bar.MoveWindow(0, 0, 1280, 48);
    bar.SetButtons(FrameButtons());
    bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); // images cached
    for (auto _ : state)
    {
        bar.LayoutButtons();
        bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    state.SetLabel("1280 x 48, four buttons and a separator, 96 DPI");
}

} // namespace

BENCHMARK(ToolbarLayoutAndPaint)->Name("Layout and paint/toolbar")->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
