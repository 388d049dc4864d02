// One packing run as a control grid panel makes it on every resize and scroll
// step (twice: once to measure, once to place): a fresh packer filled with 300
// controls of mixed spans in three bands (a title, the parameters, a note),
// fitted to a 1900 px wide panel. Aim: well under 1 ms.
#include "grid/grid_packer.h"

#include "platform/backend/headless_backend.h"
#include "platform/mfc/afxwin.h"
#include "tests/grid/cell_wnd.h"

#include <benchmark/benchmark.h>

#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace
{

struct Span
{
    int x;
    int y;
};

// Spans of the kinds a parameter page uses most: knobs, sliders, switches,
// readouts, meters.
constexpr Span kSpans[] = {{4, 4}, {4, 2}, {2, 2}, {4, 1}, {6, 8}, {2, 8},
                           {8, 8}, {4, 4}, {1, 1}, {8, 5}, {4, 2}, {2, 2}};

void Pack300(benchmark::State& state)
{
    brvl::backend::HeadlessSession session;
    CWnd parent;
    parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, 1940, 1000,
                    nullptr, nullptr);
    std::vector<std::unique_ptr<CCellWnd>> controls;
    for (int i = 0; i < 300; ++i)
    {
        controls.push_back(std::make_unique<CCellWnd>());
        controls.back()->Create(CRect(0, 0, 40, 40), &parent, static_cast<UINT>(i + 1));
    }
    GridPackParams params;
    params.mode = GridPackMode::FitColumns;
    params.width = 1900;
    params.minColumns = 8;
    params.maxColumns = 64;

    std::vector<GridPlacement> placements;
    RECT bounds{};
    for (auto _ : state)
    {
        GridPacker packer;
        packer.originX = 20;
        packer.originY = 20;
        packer.flowGroups.resize(3);
        packer.flowGroups[0].push_back({controls[0].get(), 12, 1});
        for (int i = 1; i < 299; ++i)
        {
            const Span span = kSpans[i % std::size(kSpans)];
            packer.flowGroups[1].push_back(
                {controls[static_cast<size_t>(i)].get(), span.x, span.y});
        }
        packer.flowGroups[2].push_back({controls[299].get(), 12, 2});
        packer.Pack(params, placements, &bounds);
        benchmark::DoNotOptimize(placements.data());
    }
    state.SetLabel(std::to_string(placements.size()) + " placed, " +
                   std::to_string(bounds.right - bounds.left) + " x " +
                   std::to_string(bounds.bottom - bounds.top) + " px");
}

} // namespace

BENCHMARK(Pack300)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
