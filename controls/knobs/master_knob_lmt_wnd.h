#pragma once

#include "controls/knobs/continuous_knob.h"

// The large knob whose scale has an upper zone: past `threshold` the track
// takes a colour a quarter turn back round the wheel from the accent, and
// the value arc there is overlaid in a hue that turns further the deeper the
// value goes.
struct MasterKnobLMTState
{
    bool showTicks = true;
    bool bipolar = false;
    double threshold = 0.75; // normalised; outside (0, 1) there is no zone
};

void DrawMasterKnobLMT(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state,
                       const MasterKnobLMTState& knob);

class CMasterKnobLMTWnd : public CContinuousKnob
{
    DECLARE_DYNAMIC(CMasterKnobLMTWnd)

public:
    struct State : CBaseControlWnd::State
    {
        MasterKnobLMTState knob;
    };

    CMasterKnobLMTWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

    double threshold = 0.75;
};
