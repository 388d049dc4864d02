#pragma once

#include "platform/gdiplus/gdiplus_types.h"
#include "platform/win32/win_types.h"

#include <span>
#include <string>

namespace Gdiplus
{
class Graphics;
}

// The small line drawing of a stage or add-on, shown on the chain strip's
// cards, the add-on browser's cards and the add-on icon catalogue: 0 draws
// nothing, 1 to 59 are the drawings, anything else draws the outline of the
// drawing's inner box. Glyph 1 is also the glyph of every id the table does
// not list.
using AddonGlyph = int;

inline constexpr AddonGlyph kNoAddonGlyph = 0;
inline constexpr AddonGlyph kDefaultAddonGlyph = 1;
inline constexpr AddonGlyph kLastAddonGlyph = 59;

// One row of the id table.
struct AddonGlyphEntry
{
    const char* id;
    AddonGlyph glyph;
};

// The fixed id table: stage and engine names as well as add-on ids, each id
// once. Glyphs 14 to 17, 19, 53 and 54 belong to no id.
std::span<const AddonGlyphEntry> AddonGlyphTable();

// The glyph of `id` by the table: exact length and bytes, no case folding, no
// trimming. Every other id, the empty one included, gets kDefaultAddonGlyph.
AddonGlyph AddonGlyphForId(const std::string& id);

// Draws `glyph` into `rect` in `colour` (a COLORREF, its high byte ignored) at
// the painter's own transparencies. Nothing is clipped, and the Graphics is
// left as it was given: the callers set anti-aliasing and the half-pixel
// offset. Degenerate or non-finite rectangles draw degenerate primitives,
// which paint nothing.
void DrawAddonGlyph(Gdiplus::Graphics& graphics, AddonGlyph glyph, const Gdiplus::RectF& rect,
                    COLORREF colour);

// What the chain strip and the add-on browser own as a member: the two
// operations above, with no state of its own.
class AddonGlyphPainter
{
public:
    AddonGlyph AddonGlyphForId(const std::string& id) const { return ::AddonGlyphForId(id); }
    void DrawAddonGlyph(Gdiplus::Graphics& graphics, AddonGlyph glyph, const Gdiplus::RectF& rect,
                        COLORREF colour) const
    {
        ::DrawAddonGlyph(graphics, glyph, rect, colour);
    }
};
