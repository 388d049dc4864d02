#include "controls/sliders/vertical_slider_wnd.h"

#include "controls/base/painting_helpers.h"
#include "controls/sliders/slider_face.h"

IMPLEMENT_DYNAMIC(CVerticalSliderWnd, CLinearSlider)

BEGIN_MESSAGE_MAP(CVerticalSliderWnd, CLinearSlider)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void DrawVerticalSlider(Gdiplus::Graphics& graphics, const RECT& rect,
                        const ControlDrawState& state, const int& mode)
{
    DrawSliderFace(graphics, rect, state, mode == 1, SliderAxis::Vertical);
}

CVerticalSliderWnd::CVerticalSliderWnd() : CLinearSlider(SliderAxis::Vertical)
{
    kindName = "vertical slider";
    SetGridSpan(CSize(2, 8));
    label = L"Amount";
}

void CVerticalSliderWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawVerticalSlider(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot,
                       state.bipolar);
}

void CVerticalSliderWnd::OnPaint()
{
    PaintControl(*this, &PaintValueControlBackground);
}
