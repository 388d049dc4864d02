#pragma once

#include "controls/base/control_draw_state.h"
#include "controls/knobs/knob_geometry.h"
#include "platform/gdiplus/gdiplus.h"

// What sets the three continuous knobs' faces apart.
struct ContinuousKnobFace
{
    KnobSize size = KnobSize::Large;
    bool showTicks = true;
    bool showPointer = true;
    bool bipolar = false;
    // Where the upper zone begins (normalised); 1: the knob has no zone.
    double zoneStart = 1.0;
};

// How strongly the value arc shows: strongest while dragged, then while the
// pointer is over an enabled knob.
BYTE ValueArcAlpha(const ControlDrawState& state);

// The face of a continuous knob over a background already painted: body,
// scale, value arc, pointer, cap and texts.
void DrawContinuousKnob(Gdiplus::Graphics& graphics, const RECT& rect,
                        const ControlDrawState& state, const ContinuousKnobFace& face);
