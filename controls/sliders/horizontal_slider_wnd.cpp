#include "controls/sliders/horizontal_slider_wnd.h"

#include "controls/base/painting_helpers.h"
#include "controls/sliders/slider_face.h"

IMPLEMENT_DYNAMIC(CHorizontalSliderWnd, CLinearSlider)

BEGIN_MESSAGE_MAP(CHorizontalSliderWnd, CLinearSlider)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void DrawHorizontalSlider(Gdiplus::Graphics& graphics, const RECT& rect,
                          const ControlDrawState& state, const int& mode)
{
    DrawSliderFace(graphics, rect, state, mode == 1, SliderAxis::Horizontal);
}

CHorizontalSliderWnd::CHorizontalSliderWnd() : CLinearSlider(SliderAxis::Horizontal)
{
    kindName = "horizontal slider";
    SetGridSpan(CSize(4, 2));
    label = L"Amount";
}

void CHorizontalSliderWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawHorizontalSlider(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot,
                         state.bipolar);
}

void CHorizontalSliderWnd::OnPaint()
{
    PaintControl(*this, &PaintValueControlBackground);
}
