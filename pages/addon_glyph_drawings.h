#pragma once

#include "pages/addon_glyph_kit.h"
#include "pages/addon_glyphs.h"

#include <array>

// The drawings of glyphs 1 to kLastAddonGlyph, each a fixed list of primitives
// placed in the frame; DrawAddonGlyph dispatches here.

// Draws `glyph` (1 to kLastAddonGlyph) with `mainPen` for its own strokes;
// every other pen and brush it needs lives for this call only. Returns false,
// drawing nothing, for any other number.
bool DrawGlyphDrawing(Gdiplus::Graphics& graphics, AddonGlyph glyph, const GlyphFrame& frame,
                      const Gdiplus::Pen& mainPen, COLORREF colour);

// A point of a drawing as fractions of the inner box.
struct GlyphPoint
{
    Gdiplus::REAL u;
    Gdiplus::REAL v;
};

// The declipper glyph's (57) curves over one wave, f(u) = 0.5 - 0.46 sin(2 pi 1.2 u):
// the thin one held within the clip lines at 0.28 and 0.72, and a main one
// through the unclipped crest from `startU` over 0.3 of the width.
std::array<GlyphPoint, 24> DeclipperClippedWave();
std::array<GlyphPoint, 8> DeclipperCrest(Gdiplus::REAL startU);
