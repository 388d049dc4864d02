#pragma once

#include "controls/knobs/continuous_knob.h"

// The compact knob of the automatic parameter pages. As created it shows
// neither scale marks nor pointer: its value reads from the arc and the text.
struct SmallKnobState
{
    bool showTicks = false;
    bool showPointer = false;
    bool bipolar = false;
};

void DrawSmallKnob(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state,
                   const SmallKnobState& knob);

class CSmallKnobWnd : public CContinuousKnob
{
    DECLARE_DYNAMIC(CSmallKnobWnd)

public:
    struct State : CBaseControlWnd::State
    {
        SmallKnobState knob;
    };

    CSmallKnobWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

    bool showPointer = false;
};
