#pragma once

#include "controls/knobs/continuous_knob.h"

// The large knob of a page's main amount.
struct MasterKnobState
{
    bool showTicks = true;
    bool bipolar = false;
};

void DrawMasterKnob(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state,
                    const MasterKnobState& knob);

class CMasterKnobWnd : public CContinuousKnob
{
    DECLARE_DYNAMIC(CMasterKnobWnd)

public:
    struct State : CBaseControlWnd::State
    {
        MasterKnobState knob;
    };

    CMasterKnobWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
