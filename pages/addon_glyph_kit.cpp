#include "pages/addon_glyph_kit.h"

#include "platform/gdiplus/gdiplus_graphics.h"

#include <algorithm>

using namespace Gdiplus;

ARGB GlyphArgb(COLORREF colour, BYTE alpha)
{
    return ColorFromRef(colour, alpha).GetValue();
}

void RoundGlyphPen(Pen& pen)
{
    pen.SetStartCap(LineCapRound);
    pen.SetEndCap(LineCapRound);
    pen.SetLineJoin(LineJoinRound);
}

void StyleThinGlyphPen(Pen& pen, COLORREF colour)
{
    pen.SetColor(Color(GlyphArgb(colour, kThinGlyphAlpha)));
    pen.SetWidth(kThinGlyphPenWidth);
    RoundGlyphPen(pen);
}

SolidBrush MakeGlyphBrush(COLORREF colour, BYTE alpha)
{
    return SolidBrush(Color(GlyphArgb(colour, alpha)));
}

SolidBrush MakeSoftGlyphBrush(COLORREF colour)
{
    return MakeGlyphBrush(colour, kSoftGlyphAlpha);
}

void DrawGlyphLevelBars(Graphics& graphics, COLORREF colour, const RectF& rect)
{
    struct Bar
    {
        REAL height; // of the rectangle's height
        BYTE alpha;
    };
    static constexpr Bar kBars[] = {{0.22f, 0x8F}, {0.40f, 0x98}, {0.66f, 0xA5},
                                    {0.52f, 0x9E}, {0.76f, 0xAA}, {0.47f, 0x9B}};
    const REAL bottom = rect.Y + 0.82f * rect.Height;
    for (int i = 0; i < 6; ++i)
    {
        const SolidBrush brush = MakeGlyphBrush(colour, kBars[i].alpha);
        const REAL height = kBars[i].height * rect.Height;
        graphics.FillRectangle(&brush, rect.X + 0.14f * rect.Width + REAL(i) * 0.12f * rect.Width,
                               bottom - height, 0.08f * rect.Width, height);
    }
}

GlyphFrame MakeGlyphFrame(const RectF& rect)
{
    GlyphFrame f;
    f.x = rect.X;
    f.y = rect.Y;
    f.w = rect.Width;
    f.h = rect.Height;
    f.x0 = f.x + 0.16f * f.w;
    f.x1 = f.x + 0.84f * f.w;
    f.y0 = f.y + 0.18f * f.h;
    f.y1 = f.y + 0.82f * f.h;
    f.iw = f.x1 - f.x0;
    f.ih = f.y1 - f.y0;
    f.xm = f.x + 0.5f * f.w;
    f.ym = f.y + 0.5f * f.h;
    f.m = std::min(f.iw, f.ih);
    return f;
}
