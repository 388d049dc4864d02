#pragma once

#include "controls/knobs/stepped_knob.h"

// The large stepped knob: a "Style" selector whose pointer always shows the
// selected step, with the step's label under the knob.
void DrawSteppedKnob(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state,
                     const SteppedKnobState& knob);

class CSteppedKnobWnd : public CSteppedKnob
{
    DECLARE_DYNAMIC(CSteppedKnobWnd)

public:
    CSteppedKnobWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    CSize GetPreferredSize() const override { return CSize(320, 320); }

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
