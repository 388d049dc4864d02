#include "controls/knobs/stepped_knob_wnd.h"

#include "controls/base/painting_helpers.h"

IMPLEMENT_DYNAMIC(CSteppedKnobWnd, CSteppedKnob)

BEGIN_MESSAGE_MAP(CSteppedKnobWnd, CSteppedKnob)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void DrawSteppedKnob(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state,
                     const SteppedKnobState& knob)
{
    DrawSteppedKnobFace(graphics, rect, state, knob, KnobSize::Large);
}

CSteppedKnobWnd::CSteppedKnobWnd() : CSteppedKnob(KnobSize::Large, 2)
{
    kindName = "stepped knob";
    SetGridSpan(CSize(8, 8));
    label = L"Style";
}

void CSteppedKnobWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawSteppedKnob(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot, state.knob);
}

void CSteppedKnobWnd::OnPaint()
{
    PaintControl(*this, &PaintValueControlBackground);
}
