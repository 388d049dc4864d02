#include "controls/knobs/master_knob_lmt_wnd.h"

#include "controls/base/client_state.h"
#include "controls/base/painting_helpers.h"
#include "controls/knobs/continuous_knob_face.h"

IMPLEMENT_DYNAMIC(CMasterKnobLMTWnd, CContinuousKnob)

BEGIN_MESSAGE_MAP(CMasterKnobLMTWnd, CContinuousKnob)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void DrawMasterKnobLMT(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state,
                       const MasterKnobLMTState& knob)
{
    DrawContinuousKnob(graphics, rect, state,
                       {.size = KnobSize::Large,
                        .showTicks = knob.showTicks,
                        .showPointer = true,
                        .bipolar = knob.bipolar,
                        .zoneStart = knob.threshold});
}

CMasterKnobLMTWnd::CMasterKnobLMTWnd() : CContinuousKnob(KnobSize::Large)
{
    kindName = "master knob lmt";
    SetGridSpan(CSize(6, 8));
    label = L"Intensity";
}

void CMasterKnobLMTWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawMasterKnobLMT(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot,
                      state.knob);
}

CMasterKnobLMTWnd::State CMasterKnobLMTWnd::GetState() const
{
    State state = ClientStateOf<State>(*this);
    state.knob = {showTicks, bipolar, threshold};
    return state;
}

void CMasterKnobLMTWnd::OnPaint()
{
    PaintControl(*this, &PaintValueControlBackground);
}
