// The designer's two paint paths. A palette paint at 200 x 600 shows six cards,
// each icon painted at its kind's preferred size and scaled; aim under 10 ms.
// One placed master knob of 240 x 320 painted off-screen and copied, as the
// designer grid paints each item; aim under 2 ms. A whole designer grid of 40
// placed items at 1000 x 800, which every move of a drag repaints; aim under
// 30 ms.
#include "grid/control_catalog.h"
#include "grid/designer_grid_wnd.h"
#include "grid/designer_palette_wnd.h"
#include "grid/designer_previews.h"

#include "platform/backend/headless_backend.h"
#include "platform/gdiplus/gdiplus.h"

#include <benchmark/benchmark.h>

namespace
{

void PalettePaint(benchmark::State& state)
{
    brvl::backend::HeadlessSession session;
    CDesignerPaletteWnd::State palette;
    palette.entries = BuildControlCatalog();
    palette.selectedEntry = 1;
    palette.size = SIZE{200, 600};
    Gdiplus::Bitmap bitmap(200, 600, Gdiplus::PixelFormat32bppPARGB);
    Gdiplus::Graphics graphics(&bitmap);
    for (auto _ : state)
    {
        CDesignerPaletteWnd::Draw(graphics, palette);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(PalettePaint)->Unit(benchmark::kMillisecond);

void PlacedMasterKnob(benchmark::State& state)
{
    brvl::backend::HeadlessSession session;
    DesignerItem item;
    item.kind = ControlKind::MasterKnob;
    item.internalName = "master knob";
    item.label = "Intensity";
    Gdiplus::Bitmap bitmap(400, 400, Gdiplus::PixelFormat32bppPARGB);
    Gdiplus::Graphics graphics(&bitmap);
    for (auto _ : state)
    {
        DrawPlacedItemBuffered(graphics, RECT{40, 40, 280, 360}, item);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(PlacedMasterKnob)->Unit(benchmark::kMillisecond);

void DesignerGridPaint(benchmark::State& state)
{
    brvl::backend::HeadlessSession session;
    CDesignerGridWnd::State grid;
    grid.size = SIZE{1000, 800};
    const std::vector<ControlCatalogEntry> catalogue = BuildControlCatalog();
    // Forty items of every kind in turn, two cells each, row after row.
    for (int i = 0; i < 40; ++i)
    {
        DesignerItem item = MakeSampleDesignerItem(catalogue[size_t(i) % catalogue.size()], i + 1,
                                                   i + 1, true, true);
        item.spanX = 2;
        item.spanY = 2;
        item.gridX = (i % 10) * 2;
        item.gridY = (i / 10) * 2;
        grid.layout.items.push_back(item);
    }
    grid.selectedId = 5;
    grid.dragMode = CDesignerGridWnd::DragMove;
    grid.dragPreviewVisible = true;
    grid.dragPreviewCell = POINT{3, 9};
    grid.dragPreviewSpan = SIZE{2, 2};
    Gdiplus::Bitmap bitmap(1000, 800, Gdiplus::PixelFormat32bppPARGB);
    Gdiplus::Graphics graphics(&bitmap);
    for (auto _ : state)
    {
        CDesignerGridWnd::Draw(graphics, grid);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(DesignerGridPaint)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
