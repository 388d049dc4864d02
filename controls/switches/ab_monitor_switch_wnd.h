#pragma once

#include "controls/base/base_control_wnd.h"
#include "platform/gdiplus/gdiplus.h"

// What the A/B switch shows besides the snapshot: the selected half (0 the
// unprocessed sound, 1 the processed one) and the halves under the pointer
// and pressed, -1 for none.
struct ABMonitorSwitchState
{
    int state = 0;
    int hoverHalf = -1;
    int pressedHalf = -1;
};

// The A/B face: a rounded body of two halves, "A"/"ORIG" and "B"/"PROC", the
// selected one filled with the accent. Neither the label nor the value text.
void DrawABMonitorSwitch(Gdiplus::Graphics& graphics, const RECT& rect,
                         const ControlDrawState& state, const ABMonitorSwitchState& s);

// Chooses between the unprocessed and the processed sound: a click selects
// the half it was pressed and released on, the wheel turned toward the user
// selects PROC and away (or not at all) ORIG. Notifies changes, never commits.
class CABMonitorSwitchWnd : public CBaseControlWnd
{
    DECLARE_DYNAMIC(CABMonitorSwitchWnd)

public:
    struct State : CBaseControlWnd::State
    {
        ABMonitorSwitchState halves;
    };

    CABMonitorSwitchWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(176, 80); }

    // PROC from 0.5 up; NaN is refused.
    void SetValue(double v) override;
    void SetValueSilently(double v) override;
    // The item's value first, then its selected index.
    void ApplyItem(const ControlItem& item) override;

    // 1 for any s above 0, else 0; tells the parent of a change.
    void SetState(int s);
    int GetSelectedState() const { return state; }

    // The half under a client point, -1 outside the body.
    int HitTest(CPoint point) const;

protected:
    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint screenPoint);
    afx_msg void OnCaptureChanged(CWnd* gaining);

    DECLARE_MESSAGE_MAP()

private:
    // False when the parent did away with the control while it was told.
    bool ChangeState(int s);

    int state = 0;
    int hoverHalf = -1;
    int pressedHalf = -1;
};
