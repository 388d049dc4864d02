#pragma once

#include "controls/base/control_draw_state.h"
#include "controls/base/painting_helpers.h"
#include "controls/knobs/knob_geometry.h"
#include "controls/knobs/knob_scale.h"
#include "platform/gdiplus/gdiplus.h"

// The parts every rotary knob is painted from: a body on its shadow, arcs on
// the scale ring, radial lines (scale marks, the pointer), the cap and the
// texts under the knob. All lines have rounded ends.

using KnobPen = RoundCapPen;

// The drop shadow, the body with its radial shading and the face on it.
void DrawKnobBody(Gdiplus::Graphics& graphics, const KnobGeometry& geometry, KnobSize size);

// An arc of the scale ring.
void DrawKnobArc(Gdiplus::Graphics& graphics, const KnobGeometry& geometry, const ArcSpan& arc,
                 const Gdiplus::Pen& pen);

// A line along `angle` from `inner` to `outer` pixels from the centre.
void DrawKnobRadial(Gdiplus::Graphics& graphics, const KnobGeometry& geometry, double angle,
                    double inner, double outer, const Gdiplus::Pen& pen);

// The cap over the centre and, on the large knobs, the accent dot in it.
void DrawKnobCap(Gdiplus::Graphics& graphics, const KnobGeometry& geometry, COLORREF accent,
                 bool centreDot);

// The label, `valueText` and (large knobs only) the secondary text, centred
// under the knob.
void DrawKnobTexts(Gdiplus::Graphics& graphics, const RECT& rect, const KnobGeometry& geometry,
                   KnobSize size, const ControlDrawState& state, const CString& valueText);
