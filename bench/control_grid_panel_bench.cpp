// One scroll step of a control grid panel holding 60 controls of a dozen
// kinds: LayoutControls at the next offset (two packing runs and one batched
// move), then the queue pumped until idle, so every moved control has
// repainted. Aim: under 16 ms, one frame. The second row repaints the same 60
// controls without moving them: the part of a step that is the controls'
// own painting.
#include "grid/control_grid_panel_wnd.h"

#include "platform/backend/headless_backend.h"
#include "platform/mfc/afxwin.h"
#include "platform/win32/message_loop.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace
{

constexpr int kControls = 60;
// Knobs, title, readout, meters, displays, sliders, switches, button, light.
constexpr int kKinds[] = {1, 2, 6, 14, 15, 17, 18, 19, 23, 24, 25, 26};
constexpr int kScrollStep = 40;

struct Fixture
{
    brvl::backend::HeadlessSession session;
    CWnd top;
    CControlGridPanelWnd panel;

    Fixture()
    {
        top.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, 1200, 800,
                     nullptr, nullptr);
        panel.Create(CRect(0, 0, 1200, 800), &top);
        std::vector<ControlItem> items;
        for (int i = 0; i < kControls; ++i)
        {
            ControlItem item;
            item.kind = static_cast<ControlKind>(kKinds[i % std::size(kKinds)]);
            item.parameterId = "p" + std::to_string(i);
            item.label = "Control " + std::to_string(i);
            item.value = 0.5;
            items.push_back(item);
        }
        panel.RebuildControls(items);
        PumpPendingMessages();
    }
};

void ScrollStep60(benchmark::State& state)
{
    Fixture f;
    int step = 0;
    for (auto _ : state)
    {
        f.panel.scrollY = (++step % 2) * kScrollStep;
        f.panel.LayoutControls();
        PumpPendingMessages();
    }
    const RECT& c = f.panel.content;
    state.SetLabel(std::to_string(f.panel.entries.size()) + " controls, content " +
                   std::to_string(c.right - c.left) + " x " + std::to_string(c.bottom - c.top) +
                   " px in 1200 x 800");
}

void RepaintOnly60(benchmark::State& state)
{
    Fixture f;
    for (auto _ : state)
    {
        for (const ControlGridEntry& entry : f.panel.entries)
        {
            entry.control->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        }
        PumpPendingMessages();
    }
}

} // namespace

BENCHMARK(ScrollStep60)->Unit(benchmark::kMillisecond);
BENCHMARK(RepaintOnly60)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
