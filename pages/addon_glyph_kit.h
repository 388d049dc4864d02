#pragma once

#include "platform/gdiplus/gdiplus_brush.h"
#include "platform/gdiplus/gdiplus_pen.h"
#include "platform/gdiplus/gdiplus_types.h"
#include "platform/win32/win_types.h"

namespace Gdiplus
{
class Graphics;
}

// The frame, pens and fills every glyph drawing is made of. A glyph is one
// colour at a few fixed transparencies; the caller's COLORREF carries none.

inline constexpr BYTE kMainGlyphAlpha = 0xB7;
inline constexpr BYTE kThinGlyphAlpha = 0x4C;
inline constexpr BYTE kSoftGlyphAlpha = 0x20;
inline constexpr Gdiplus::REAL kMainGlyphPenWidth = 1.2f;
inline constexpr Gdiplus::REAL kThinGlyphPenWidth = 0.8f;
inline constexpr Gdiplus::REAL kLevelGlyphPenWidth = 1.44f;

// `colour` (0x00BBGGRR, high byte ignored) as 0xAARRGGBB with `alpha`.
Gdiplus::ARGB GlyphArgb(COLORREF colour, BYTE alpha);

// Round start and end caps and a round join.
void RoundGlyphPen(Gdiplus::Pen& pen);

// The thin pen: GlyphArgb(colour, kThinGlyphAlpha), kThinGlyphPenWidth, round.
void StyleThinGlyphPen(Gdiplus::Pen& pen, COLORREF colour);

// A solid brush of GlyphArgb(colour, alpha), for the bars and dots.
Gdiplus::SolidBrush MakeGlyphBrush(COLORREF colour, BYTE alpha);

// A solid brush of GlyphArgb(colour, kSoftGlyphAlpha), for translucent areas
// under outlines.
Gdiplus::SolidBrush MakeSoftGlyphBrush(COLORREF colour);

// The six rising level bars of the level-match glyph, laid out over the whole
// of `rect` (not its inner box), each in its own alpha.
void DrawGlyphLevelBars(Gdiplus::Graphics& graphics, COLORREF colour, const Gdiplus::RectF& rect);

// Where a glyph is drawn within the caller's rectangle (x, y, w, h), in single
// precision: the inner box [x0, x1] x [y0, y1] spans 0.68 w by 0.64 h around
// the centre (xm, ym), and m = min(iw, ih) keeps round shapes round.
struct GlyphFrame
{
    Gdiplus::REAL x = 0, y = 0, w = 0, h = 0;
    Gdiplus::REAL x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    Gdiplus::REAL iw = 0, ih = 0;
    Gdiplus::REAL xm = 0, ym = 0;
    Gdiplus::REAL m = 0;

    // The point at fractions (u, v) of the inner box; they may lie outside 0..1.
    Gdiplus::PointF At(Gdiplus::REAL u, Gdiplus::REAL v) const
    {
        return Gdiplus::PointF(x0 + u * iw, y0 + v * ih);
    }
};

GlyphFrame MakeGlyphFrame(const Gdiplus::RectF& rect);
