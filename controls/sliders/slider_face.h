#pragma once

#include "controls/base/control_draw_state.h"
#include "controls/sliders/slider_layout.h"
#include "platform/gdiplus/gdiplus.h"

// A linear slider's face over a background already painted: the groove, the
// accent fill from the low end (or from the middle when `bipolar`, marked by a
// tick) to the thumb, a glow over the fill while hovered or dragged, the
// thumb, the caption and the value text. There is no disabled look.
void DrawSliderFace(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state,
                    bool bipolar, SliderAxis axis);
