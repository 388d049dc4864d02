#pragma once

#include "platform/gdiplus/gdiplus.h"

#include <vector>

// The look the hosted analysis graphs share.

constexpr Gdiplus::ARGB kGraphPlotFrame = 0x3CC8CED6;
constexpr Gdiplus::ARGB kGraphGuide = 0x22B4BAC4;

// `colour`'s red, green and blue with another alpha.
constexpr Gdiplus::ARGB WithAlpha(Gdiplus::ARGB colour, unsigned alpha)
{
    return (Gdiplus::ARGB(alpha & 0xFF) << 24) | (colour & 0x00FFFFFF);
}

// The dark vertical gradient behind a graph.
void PaintGraphBackground(Gdiplus::Graphics& graphics, const RECT& rect);
// A vertical gradient from `topColour` to `bottomColour` over `rect`, for the
// graphs that paint their own shades.
void PaintGraphBackground(Gdiplus::Graphics& graphics, const RECT& rect, Gdiplus::ARGB topColour,
                          Gdiplus::ARGB bottomColour);
// A graph's title, from `origin`.
void DrawGraphTitle(Gdiplus::Graphics& graphics, const wchar_t* text, Gdiplus::PointF origin);
// Legends, scale labels and readouts, from `origin`.
void DrawGraphSmallText(Gdiplus::Graphics& graphics, const wchar_t* text, Gdiplus::PointF origin);

// A cardinal spline through many points (thousands), stroked in runs of a
// few hundred segments: one long self-crossing stroke costs the rasteriser
// time that grows with its crossings, runs keep that small. The curve is the
// same; where two runs meet, a translucent pen shows one joint pixel.
void DrawLongCurve(Gdiplus::Graphics& graphics, const Gdiplus::Pen& pen,
                   const std::vector<Gdiplus::PointF>& points, Gdiplus::REAL tension);

// A polyline through many points, stroked in runs of a few dozen segments for
// the same reason, with the same joint pixel where two runs meet.
void DrawLongPolyline(Gdiplus::Graphics& graphics, const Gdiplus::Pen& pen,
                      const std::vector<Gdiplus::PointF>& points);
