// One paint of a 200 x 200 knob-like control: body gradient, value arc, ticks
// and a value text, the mix every custom control draws many times a second.
#include "platform/gdiplus/gdiplus.h"

#include <benchmark/benchmark.h>

#include <cmath>

using namespace Gdiplus;

namespace
{

void PaintKnob(Graphics& g, float value)
{
    g.SetSmoothingMode(SmoothingModeAntiAlias);
    g.SetPixelOffsetMode(PixelOffsetModeHalf);
    g.Clear(Color(255, 12, 14, 16));

    GraphicsPath body;
    body.AddEllipse(RectF(40, 40, 120, 120));
    PathGradientBrush bodyBrush(&body);
    bodyBrush.SetCenterPoint(PointF(85, 80));
    bodyBrush.SetCenterColor(Color(255, 90, 94, 104));
    Color surround(255, 20, 22, 26);
    int count = 1;
    bodyBrush.SetSurroundColors(&surround, &count);
    g.FillPath(&bodyBrush, &body);

    Pen track(Color(255, 40, 44, 52), 6.0f);
    track.SetStartCap(LineCapRound);
    track.SetEndCap(LineCapRound);
    g.DrawArc(&track, RectF(25, 25, 150, 150), 135, 270);
    Pen arc(Color(255, 255, 140, 40), 6.0f);
    arc.SetStartCap(LineCapRound);
    arc.SetEndCap(LineCapRound);
    g.DrawArc(&arc, RectF(25, 25, 150, 150), 135, 270 * value);

    Pen tick(Color(255, 120, 124, 132), 1.5f);
    for (int i = 0; i <= 10; ++i)
    {
        const double angle = (135.0 + 27.0 * i) * 3.14159265358979 / 180.0;
        g.DrawLine(&tick, float(100 + 82 * std::cos(angle)), float(100 + 82 * std::sin(angle)),
                   float(100 + 92 * std::cos(angle)), float(100 + 92 * std::sin(angle)));
    }

    LinearGradientBrush gloss(PointF(0, 45), PointF(0, 110), Color(60, 255, 255, 255),
                              Color(0, 255, 255, 255));
    g.FillEllipse(&gloss, RectF(55, 45, 90, 60));

    const Font font(L"Segoe UI", 14.0f, FontStyleBold, UnitPixel);
    const SolidBrush ink(Color(255, 230, 236, 245));
    StringFormat centred;
    centred.SetAlignment(StringAlignmentCenter);
    centred.SetLineAlignment(StringAlignmentCenter);
    g.DrawString(L"-3.5 dB", -1, &font, RectF(40, 170, 120, 24), &centred, &ink);
}

void BM_PaintKnob200(benchmark::State& state)
{
    Bitmap surface(200, 200, PixelFormat32bppRGB);
    float value = 0.0f;
    for (auto _ : state)
    {
        Graphics g(&surface);
        PaintKnob(g, value);
        value = value >= 1.0f ? 0.0f : value + 0.01f;
    }
}
BENCHMARK(BM_PaintKnob200)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
