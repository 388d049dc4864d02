#include "controls/knobs/small_knob_wnd.h"

#include "controls/base/client_state.h"
#include "controls/base/painting_helpers.h"
#include "controls/knobs/continuous_knob_face.h"

IMPLEMENT_DYNAMIC(CSmallKnobWnd, CContinuousKnob)

BEGIN_MESSAGE_MAP(CSmallKnobWnd, CContinuousKnob)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void DrawSmallKnob(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state,
                   const SmallKnobState& knob)
{
    DrawContinuousKnob(graphics, rect, state,
                       {.size = KnobSize::Small,
                        .showTicks = knob.showTicks,
                        .showPointer = knob.showPointer,
                        .bipolar = knob.bipolar});
}

CSmallKnobWnd::CSmallKnobWnd() : CContinuousKnob(KnobSize::Small)
{
    kindName = "small knob";
    SetGridSpan(CSize(4, 4));
    label = L"Tone";
    showTicks = false;
}

void CSmallKnobWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawSmallKnob(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot, state.knob);
}

CSmallKnobWnd::State CSmallKnobWnd::GetState() const
{
    State state = ClientStateOf<State>(*this);
    state.knob = {showTicks, showPointer, bipolar};
    return state;
}

void CSmallKnobWnd::OnPaint()
{
    PaintControl(*this, &PaintValueControlBackground);
}
