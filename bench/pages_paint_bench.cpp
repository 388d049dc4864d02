// One paint of a mode-page window through its window, as the window system
// does it: invalidate, then the whole WM_PAINT (layout, memory bitmap, GDI+,
// BitBlt).
#include "pages/realm_selector_panel_wnd.h"
#include "platform/backend/headless_backend.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace
{

std::vector<LibraryEntry> Entries(int count, const std::string& prefix)
{
    std::vector<LibraryEntry> entries;
    for (int i = 0; i < count; ++i)
    {
        const std::string n = std::to_string(i);
        entries.push_back({"/library/" + prefix + n + ".json", prefix + " entry " + n,
                           "A " + prefix +
                               " entry with a description long enough to wrap onto "
                               "a second line of its card."});
    }
    return entries;
}

// 200 entries in each column: every paint measures all 400 names for the
// layout and draws the cards in sight.
void RealmPanelPaint(benchmark::State& state)
{
    brvl::backend::HeadlessSession session;
    CWnd parent;
    parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                    nullptr);
    CRealmSelectorPanelWnd panel;
    panel.Create(&parent, CRect(0, 0, 640, 400), 8736);
    panel.SetFactoryEntries(Entries(200, "Factory"));
    panel.SetCustomEntries(Entries(200, "Custom"));
    panel.SetSelectedPath("/library/Factory3.json");
    for (auto _ : state)
    {
        panel.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    state.SetLabel("640 x 400, 200 + 200 entries");
}

} // namespace

BENCHMARK(RealmPanelPaint)->Name("Paint/realm selector panel")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
