#include "controls/buttons/push_button_control.h"

void CPushButtonControl::OnMouseMove(UINT, CPoint point)
{
    if (!TakesInput())
    {
        return;
    }
    const bool inside = InHitArea(point);
    if (inside != hover)
    {
        hover = inside;
        Repaint();
    }
    if (inside)
    {
        RequestLeaveNotice();
    }
}

void CPushButtonControl::OnMouseLeave()
{
    if (hover)
    {
        hover = false;
        Repaint();
    }
}

void CPushButtonControl::OnLButtonDown(UINT, CPoint point)
{
    if (!TakesInput() || !InHitArea(point))
    {
        return;
    }
    pressed = true;
    SetCapture();
    Repaint();
}

void CPushButtonControl::OnLButtonUp(UINT, CPoint point)
{
    const bool wasPressed = pressed;
    if (pressed)
    {
        pressed = false;
        ::ReleaseCapture();
    }
    if (!wasPressed || !TakesInput())
    {
        return;
    }
    if (InHitArea(point))
    {
        // The value is 1.0 only while the parent hears the click.
        value = 1.0;
        if (!TellParent(WMU_CONTROL_CHANGED))
        {
            return; // the parent destroyed this control
        }
        value = 0.0;
    }
    Repaint();
}

void CPushButtonControl::OnCaptureChanged(CWnd*)
{
    if (pressed)
    {
        pressed = false;
        Repaint();
    }
}
