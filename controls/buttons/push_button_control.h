#pragma once

#include "controls/base/base_control_wnd.h"

// The gestures the action and round transport buttons share: hover follows
// the pointer over the hit area, a press there captures the mouse, and a
// release inside it is a click, told as WMU_CONTROL_CHANGED during which the
// value reads 1.0 (0 before and after). A release outside cancels.
// Not a control of its own: each button has its own run-time class record.
class CPushButtonControl : public CBaseControlWnd
{
protected:
    virtual bool InHitArea(CPoint point) const = 0;

    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* gaining);

private:
    bool TakesInput() const { return !blank && !disabled; }
};
