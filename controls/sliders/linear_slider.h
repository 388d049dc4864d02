#pragma once

#include "controls/base/base_control_wnd.h"
#include "controls/sliders/slider_layout.h"

// What the horizontal and vertical sliders share: the value follows the
// pointer from a press on the track or thumb until the release, which
// commits; the wheel over them moves by 0.02 a notch and commits; a
// double-click returns to the default and commits. A change is told only
// when it exceeds 1e-4. The wheel elsewhere in the window goes on to the
// parent, so a page under it can still scroll.
class CLinearSlider : public CBaseControlWnd
{
    DECLARE_DYNAMIC(CLinearSlider)

public:
    struct State : CBaseControlWnd::State
    {
        int bipolar = 0;
    };

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    // A bipolar item (value mode 2) fills from the middle of the track.
    void ApplyItem(const ControlItem& item) override;

    State GetState() const;
    SliderAxis GetAxis() const { return axis; }
    SliderLayout Layout() const;
    int GetBipolar() const { return bipolar; }
    // Fills from the middle of the track when on; repaints on a change.
    void SetBipolar(bool on);
    bool IsDragging() const { return dragging; }
    bool IsHovered() const { return hover; }

protected:
    explicit CLinearSlider(SliderAxis sliderAxis) : axis(sliderAxis) {}

    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint screenPoint);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* gaining);

    DECLARE_MESSAGE_MAP()

    const SliderAxis axis;
    int bipolar = 0;

private:
    // Stores `v` and tells the parent when it moves the value by more than
    // 1e-4. False when the parent did away with the slider meanwhile.
    bool MoveTo(double v, bool& moved);
    double ValueAt(CPoint point) const;
};
