#pragma once

#include "controls/base/control_draw_state.h"
#include "platform/gdiplus/gdiplus.h"

// Small GDI+ routines shared by the controls, graphs, pages and the designer's
// preview. Each draws on a Graphics or path the caller owns for one paint.

// The modes every control paints with: anti-aliased, pixel centres at half
// coordinates (so a 1-pixel line at x.5 is crisp), grid-fitted text.
void PrepareControlGraphics(Gdiplus::Graphics& graphics);

// A pen whose lines end in half circles.
class RoundCapPen : public Gdiplus::Pen
{
public:
    RoundCapPen(const Gdiplus::Color& color, double width);
};

// One closed figure: a rectangle with quarter-circle corners. The radius is
// held to [0, half the shorter side] (0 gives a plain rectangle); a figure of
// no width or height, or with a non-finite argument, is not added.
void AddRoundedRectFigure(Gdiplus::GraphicsPath& path, float x, float y, float width, float height,
                          float radius);

// A backdrop's colours. A body of two transparent ends is not painted.
struct BackdropLook
{
    Gdiplus::ARGB bodyTop = 0;
    Gdiplus::ARGB bodyBottom = 0;
    Gdiplus::ARGB frame = 0;
};

// The control's colour, a vertical body gradient and a 1-pixel frame on the
// outermost pixels, the body and the frame each as the snapshot asks.
void PaintBackdrop(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state,
                   const BackdropLook& look);

// The standard background: the control's colour, the dark body gradient and a
// faint white frame on the outermost pixels, each as the snapshot asks.
void PaintControlBackground(Gdiplus::Graphics& graphics, const RECT& rect,
                            const ControlDrawState& state);
// The same with a stronger frame, for controls that show a value.
void PaintValueControlBackground(Gdiplus::Graphics& graphics, const RECT& rect,
                                 const ControlDrawState& state);
