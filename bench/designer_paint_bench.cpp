// The designer's two paint paths. A palette paint at 200 x 600 shows six cards,
// each icon painted at its kind's preferred size and scaled; aim under 10 ms.
// One placed master knob of 240 x 320 painted off-screen and copied, as the
// designer grid paints each item; aim under 2 ms.
#include "grid/control_catalog.h"
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

} // namespace

BENCHMARK_MAIN();
