#pragma once

#include "controls/sliders/linear_slider.h"
#include "platform/gdiplus/gdiplus.h"

// The vertical fader: caption above and value below a track that runs up
// the middle of the control; up is more.
// `mode` 1 fills from the middle of the track (bipolar), 0 from its low end.
void DrawVerticalSlider(Gdiplus::Graphics& graphics, const RECT& rect,
                        const ControlDrawState& state, const int& mode);

class CVerticalSliderWnd : public CLinearSlider
{
    DECLARE_DYNAMIC(CVerticalSliderWnd)

public:
    CVerticalSliderWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    CSize GetPreferredSize() const override { return CSize(80, 320); }

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
