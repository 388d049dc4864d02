#pragma once

#include "controls/base/control_draw_state.h"
#include "controls/knobs/knob_geometry.h"
#include "platform/gdiplus/gdiplus.h"

// What a stepped knob paints besides the snapshot.
struct SteppedKnobState
{
    CString stepText; // the selected step's label, or its index in decimal
    int selectedIndex = 0;
    int stepCount = 5;
    bool showPointer = false; // the small knob's pointer; the large one always draws it
};

// Where a stepped knob of `size` sits in `client`.
KnobGeometry MakeSteppedKnobGeometry(const RECT& client, KnobSize size);

// The face of a stepped knob over a background already painted: body, one
// arc segment per step with the selected one lit, pointer, cap and texts.
// The step count is held to 1..32 and the selection to the steps drawn, so
// any record paints in bounded time.
void DrawSteppedKnobFace(Gdiplus::Graphics& graphics, const RECT& rect,
                         const ControlDrawState& state, const SteppedKnobState& knob,
                         KnobSize size);
