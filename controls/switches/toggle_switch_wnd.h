#pragma once

#include "controls/base/base_control_wnd.h"
#include "platform/gdiplus/gdiplus.h"

// Where the toggle's parts lie in a rectangle, for one on state. A client
// smaller than 14 x 38 gets a track of no size, which paints nothing and
// cannot be hit.
struct ToggleSwitchLayout
{
    RECT track;
    RECT labelBox;
    RECT stateBox;
    int knobX;
    int knobY;
    int knobWidth;
    int knobHeight;
    double trackRadius;
    double knobRadius;

    static ToggleSwitchLayout Of(const RECT& rect, bool on);
};

// The toggle's face: the caption, a track with the knob on its left (off) or
// right (on) half, and "ON" or "OFF" under it.
void DrawToggleSwitch(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state,
                      const bool& on);

// An on/off switch; a click on the track flips it wherever the button is
// released. Its value is 1 when on and 0 when off after every change it makes,
// though a toggle never configured shows "ON" with the value 0.
class CToggleSwitchWnd : public CBaseControlWnd
{
    DECLARE_DYNAMIC(CToggleSwitchWnd)

public:
    struct State : CBaseControlWnd::State
    {
        bool on = true;
    };

    CToggleSwitchWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(80, 80); }

    // On from 0.5 up; NaN is refused.
    void SetValue(double v) override;
    void SetValueSilently(double v) override;
    // The item's value first, then its toggleValue.
    void ApplyItem(const ControlItem& item) override;

    // Tells the parent of a change.
    void SetOn(bool b);
    bool IsOn() const { return on; }

protected:
    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* gaining);

    DECLARE_MESSAGE_MAP()

private:
    // False when the parent did away with the control while it was told.
    bool ChangeOn(bool b);
    bool InTrack(CPoint point) const;

    bool on = true;
};
