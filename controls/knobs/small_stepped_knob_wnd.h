#pragma once

#include "controls/knobs/stepped_knob.h"

// The compact stepped knob: a "Mode" selector that, as created, shows the
// selection by its lit segment and label only, without a pointer.
void DrawSmallSteppedKnob(Gdiplus::Graphics& graphics, const RECT& rect,
                          const ControlDrawState& state, const SteppedKnobState& knob);

class CSmallSteppedKnobWnd : public CSteppedKnob
{
    DECLARE_DYNAMIC(CSmallSteppedKnobWnd)

public:
    CSmallSteppedKnobWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    CSize GetPreferredSize() const override { return CSize(160, 160); }

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
