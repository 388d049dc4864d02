// Every add-on glyph drawn once at the chain strip card's 78 x 61, as a strip
// repaint draws its cards: the whole set is one iteration.
#include "pages/addon_glyphs.h"
#include "platform/gdiplus/gdiplus.h"

#include <benchmark/benchmark.h>

using namespace Gdiplus;

namespace
{

void BM_AddonGlyphsAllAt78x61(benchmark::State& state)
{
    Bitmap bitmap(90, 70);
    Graphics g(&bitmap);
    g.SetSmoothingMode(SmoothingModeAntiAlias);
    g.SetPixelOffsetMode(PixelOffsetModeHalf);
    const RectF card(6, 4, 78, 61);
    for (auto _ : state)
    {
        for (AddonGlyph glyph = 1; glyph <= kLastAddonGlyph; ++glyph)
        {
            DrawAddonGlyph(g, glyph, card, 0x4E9AE8);
        }
        g.Clear(Color(0, 0, 0, 0));
    }
    state.counters["glyphs"] = kLastAddonGlyph;
}
BENCHMARK(BM_AddonGlyphsAllAt78x61)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
