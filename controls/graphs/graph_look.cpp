#include "controls/graphs/graph_look.h"

#include "controls/base/control_text.h"

#include <algorithm>

void PaintGraphBackground(Gdiplus::Graphics& graphics, const RECT& rect)
{
    PaintGraphBackground(graphics, rect, 0xFF0D0E12, 0xFF12141A);
}

void PaintGraphBackground(Gdiplus::Graphics& graphics, const RECT& rect, Gdiplus::ARGB topColour,
                          Gdiplus::ARGB bottomColour)
{
    const Gdiplus::REAL left = Gdiplus::REAL(rect.left);
    const Gdiplus::REAL top = Gdiplus::REAL(rect.top);
    const Gdiplus::REAL width = Gdiplus::REAL(rect.right - rect.left);
    const Gdiplus::REAL height = Gdiplus::REAL(rect.bottom - rect.top);
    const Gdiplus::LinearGradientBrush body(
        Gdiplus::PointF(left, top), Gdiplus::PointF(left, top + height), Gdiplus::Color(topColour),
        Gdiplus::Color(bottomColour));
    graphics.FillRectangle(&body, left, top, width, height);
}

void DrawGraphTitle(Gdiplus::Graphics& graphics, const wchar_t* text, Gdiplus::PointF origin)
{
    DrawControlTextAt(graphics, text, {11}, 0xB6DCDCDC, origin);
}

void DrawGraphSmallText(Gdiplus::Graphics& graphics, const wchar_t* text, Gdiplus::PointF origin)
{
    DrawControlTextAt(graphics, text, {8.5f}, 0x9CCCD0D4, origin);
}

void DrawLongCurve(Gdiplus::Graphics& graphics, const Gdiplus::Pen& pen,
                   const std::vector<Gdiplus::PointF>& points, Gdiplus::REAL tension)
{
    constexpr std::size_t kSegmentsPerRun = 128;
    if (points.size() < 2)
    {
        return;
    }
    // Start, then three control points per segment: c1, c2, end.
    const std::vector<Gdiplus::PointF> beziers =
        Gdiplus::CardinalSplineToBeziers(points.data(), int(points.size()), tension, false);
    const std::size_t segments = (beziers.size() - 1) / 3;
    for (std::size_t first = 0; first < segments; first += kSegmentsPerRun)
    {
        const std::size_t count = std::min(kSegmentsPerRun, segments - first);
        Gdiplus::GraphicsPath run;
        run.AddBeziers(&beziers[3 * first], int(3 * count + 1));
        graphics.DrawPath(&pen, &run);
    }
}

void DrawLongPolyline(Gdiplus::Graphics& graphics, const Gdiplus::Pen& pen,
                      const std::vector<Gdiplus::PointF>& points)
{
    constexpr std::size_t kSegmentsPerRun = 32;
    for (std::size_t first = 0; first + 1 < points.size(); first += kSegmentsPerRun)
    {
        const std::size_t count = std::min(kSegmentsPerRun, points.size() - 1 - first);
        graphics.DrawLines(&pen, &points[first], int(count + 1));
    }
}
