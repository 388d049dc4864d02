#pragma once

#include "controls/sliders/linear_slider.h"
#include "platform/gdiplus/gdiplus.h"

// The horizontal fader: caption at the left and value at the right above a
// track that runs across the control.
// `mode` 1 fills from the middle of the track (bipolar), 0 from its low end.
void DrawHorizontalSlider(Gdiplus::Graphics& graphics, const RECT& rect,
                          const ControlDrawState& state, const int& mode);

class CHorizontalSliderWnd : public CLinearSlider
{
    DECLARE_DYNAMIC(CHorizontalSliderWnd)

public:
    CHorizontalSliderWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    CSize GetPreferredSize() const override { return CSize(160, 80); }

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
