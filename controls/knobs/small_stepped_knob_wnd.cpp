#include "controls/knobs/small_stepped_knob_wnd.h"

#include "controls/base/painting_helpers.h"

IMPLEMENT_DYNAMIC(CSmallSteppedKnobWnd, CSteppedKnob)

BEGIN_MESSAGE_MAP(CSmallSteppedKnobWnd, CSteppedKnob)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void DrawSmallSteppedKnob(Gdiplus::Graphics& graphics, const RECT& rect,
                          const ControlDrawState& state, const SteppedKnobState& knob)
{
    DrawSteppedKnobFace(graphics, rect, state, knob, KnobSize::Small);
}

CSmallSteppedKnobWnd::CSmallSteppedKnobWnd() : CSteppedKnob(KnobSize::Small, 0)
{
    kindName = "small stepped knob";
    SetGridSpan(CSize(4, 4));
    label = L"Mode";
}

void CSmallSteppedKnobWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawSmallSteppedKnob(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot,
                         state.knob);
}

void CSmallSteppedKnobWnd::OnPaint()
{
    PaintControl(*this, &PaintValueControlBackground);
}
