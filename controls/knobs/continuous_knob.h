#pragma once

#include "controls/base/base_control_wnd.h"
#include "controls/knobs/knob_geometry.h"

// What the three continuous knobs share: their window, their natural size,
// the bipolar look a layout item asks for, and the gestures. Over the knob
// the pointer turns into a vertical resize cursor; a press on the ring jumps
// to that point of the scale, and a drag of 220 pixels up or down covers the
// whole range (there is no fine mode). The wheel moves by 0.02 a notch and a
// double-click returns to the default; each gesture ends in a commit, except
// a drag cut short by the loss of the mouse.
class CContinuousKnob : public CBaseControlWnd
{
    DECLARE_DYNAMIC(CContinuousKnob)

public:
    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override;
    // A bipolar item (value mode 2) draws its arc from the top centre.
    void ApplyItem(const ControlItem& item) override;

    KnobSize GetKnobSize() const { return knobSize; }
    bool IsBipolar() const { return bipolar; }
    bool IsDragging() const { return dragging; }
    bool IsHovered() const { return hover; }

protected:
    explicit CContinuousKnob(KnobSize size) : knobSize(size) {}

    KnobGeometry Geometry() const;

    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* gaining);
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);

    DECLARE_MESSAGE_MAP()

    const KnobSize knobSize;
    bool showTicks = true;
    bool bipolar = false;
    POINT dragStartPoint{0, 0};
    double dragStartValue = 0.0;

private:
    bool TakesInput() const;
};
