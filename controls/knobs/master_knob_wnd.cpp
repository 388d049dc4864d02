#include "controls/knobs/master_knob_wnd.h"

#include "controls/base/client_state.h"
#include "controls/base/painting_helpers.h"
#include "controls/knobs/continuous_knob_face.h"

IMPLEMENT_DYNAMIC(CMasterKnobWnd, CContinuousKnob)

BEGIN_MESSAGE_MAP(CMasterKnobWnd, CContinuousKnob)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void DrawMasterKnob(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state,
                    const MasterKnobState& knob)
{
    DrawContinuousKnob(graphics, rect, state,
                       {.size = KnobSize::Large,
                        .showTicks = knob.showTicks,
                        .showPointer = true,
                        .bipolar = knob.bipolar});
}

CMasterKnobWnd::CMasterKnobWnd() : CContinuousKnob(KnobSize::Large)
{
    kindName = "master knob";
    SetGridSpan(CSize(6, 8));
    label = L"Intensity";
}

void CMasterKnobWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawMasterKnob(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot, state.knob);
}

CMasterKnobWnd::State CMasterKnobWnd::GetState() const
{
    State state = ClientStateOf<State>(*this);
    state.knob = {showTicks, bipolar};
    return state;
}

void CMasterKnobWnd::OnPaint()
{
    PaintControl(*this, &PaintValueControlBackground);
}
