#pragma once

#include "platform/gdiplus/gdiplus.h"

#include <string>

// Painting pieces the mode pages share, on top of controls/base's helpers.

// A page's dark rounded body: a vertical gradient, a faint 1 px outline and a
// gloss over its top 42 %, clipped to the body; the caller's clip is restored.
void PaintPageBody(Gdiplus::Graphics& graphics, const Gdiplus::RectF& body, float radius);

// Fills a rounded rectangle with a vertical gradient from `top` at its top
// edge to `bottom` at its bottom edge, then outlines it with `outline` if given.
void FillRoundedGradient(Gdiplus::Graphics& graphics, const Gdiplus::RectF& rect, float radius,
                         Gdiplus::ARGB top, Gdiplus::ARGB bottom,
                         const Gdiplus::Pen* outline = nullptr);

// A client rectangle as GDI+ reals.
inline Gdiplus::RectF PageRectF(const RECT& r)
{
    return Gdiplus::RectF(Gdiplus::REAL(r.left), Gdiplus::REAL(r.top),
                          Gdiplus::REAL(r.right - r.left), Gdiplus::REAL(r.bottom - r.top));
}

// `r` shrunk by `by` on every side.
inline Gdiplus::RectF InsetRectF(const Gdiplus::RectF& r, Gdiplus::REAL by)
{
    return Gdiplus::RectF(r.X + by, r.Y + by, r.Width - 2 * by, r.Height - 2 * by);
}

// A strip's backdrop: `color` everywhere and a faint 1 px rule along the
// bottom edge.
void PaintStripBackground(Gdiplus::Graphics& graphics, int width, int height, COLORREF color);

// A rounded rectangle filled with `fill` and outlined with `outline`, each
// only when given.
void PaintRoundedRect(Gdiplus::Graphics& graphics, const Gdiplus::RectF& rect, float radius,
                      const Gdiplus::Brush* fill, const Gdiplus::Pen* outline);

// Each channel of the accent times `factor` plus `offset`, truncated and held
// to [0, 255], with the caller's alpha.
Gdiplus::Color AccentLift(COLORREF accent, BYTE alpha, double factor, double offset);

// "Segoe UI" at a size in points, as the pages' texts are given.
Gdiplus::Font PagePointFont(float points, int style = Gdiplus::FontStyleRegular);

// How a page text is laid out in its box.
struct PageTextFormat
{
    Gdiplus::StringAlignment horizontal = Gdiplus::StringAlignmentNear;
    Gdiplus::StringAlignment vertical = Gdiplus::StringAlignmentNear;
    bool wrap = false;
    bool ellipsis = false;
};

void DrawPageText(Gdiplus::Graphics& graphics, const std::wstring& text, const Gdiplus::Font& font,
                  Gdiplus::ARGB color, const Gdiplus::RectF& box, PageTextFormat format);

// The width `text` takes on one line (MeasureString's, padding included); 0
// for an empty text.
float MeasurePageText(const Gdiplus::Graphics& graphics, const std::wstring& text,
                      const Gdiplus::Font& font);
