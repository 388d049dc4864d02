#pragma once

#include "controls/base/control_draw_state.h"
#include "platform/gdiplus/gdiplus.h"

// What the text widgets share: one way to put a text in a box, and the plain
// surfaces some of them paint under it.

// How a text fills its box: one line that ends in an ellipsis when it is too
// long, or lines wrapped at word boundaries and cut at the box.
enum class TextFlow
{
    OneLine,
    Wrapped,
};

// A "Segoe UI" text of `pixels` em size, bold or regular, in an ARGB colour.
struct TextLook
{
    Gdiplus::REAL pixels;
    bool bold;
    Gdiplus::ARGB colour;
};

// Draws `text` in `box` (clipped to it) with the two alignments. An empty
// text, and a box without width or height, draw nothing: a box without area
// is never read as unbounded.
void DrawBoxedText(Gdiplus::Graphics& graphics, const CString& text, const TextLook& look,
                   const Gdiplus::RectF& box, Gdiplus::StringAlignment horizontal,
                   Gdiplus::StringAlignment vertical, TextFlow flow);

// A background painter for controls whose face paints its own surface.
void PaintNoBackground(Gdiplus::Graphics& graphics, const RECT& rect,
                       const ControlDrawState& state);

// The whole surface in the background colour, whatever the border and
// background flags say.
void PaintBackgroundColour(Gdiplus::Graphics& graphics, const RECT& rect,
                           const ControlDrawState& state);

// The box (x, y, width, height) from the top-left corner of `rect`, kept as
// given: a box without area stays one.
inline Gdiplus::RectF BoxIn(const RECT& rect, Gdiplus::REAL x, Gdiplus::REAL y, Gdiplus::REAL width,
                            Gdiplus::REAL height)
{
    return Gdiplus::RectF(Gdiplus::REAL(rect.left) + x, Gdiplus::REAL(rect.top) + y, width, height);
}
