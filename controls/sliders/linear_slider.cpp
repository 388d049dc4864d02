#include "controls/sliders/linear_slider.h"

#include "controls/base/client_state.h"
#include "controls/layout/control_item.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CLinearSlider, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CLinearSlider, CBaseControlWnd)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEWHEEL()
ON_WM_LBUTTONDBLCLK()
ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

namespace
{

constexpr double kWheelStep = 0.02;
constexpr double kSmallestMove = 1e-4;
constexpr int kBipolarValueMode = 2;

} // namespace

BOOL CLinearSlider::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_HAND, true);
}

void CLinearSlider::ApplyItem(const ControlItem& item)
{
    CBaseControlWnd::ApplyItem(item);
    SetBipolar(item.valueMode == kBipolarValueMode);
}

void CLinearSlider::SetBipolar(bool on)
{
    const int fromMiddle = on ? 1 : 0;
    if (fromMiddle != bipolar)
    {
        bipolar = fromMiddle;
        Repaint();
    }
}

CLinearSlider::State CLinearSlider::GetState() const
{
    State state = ClientStateOf<State>(*this);
    state.bipolar = bipolar;
    return state;
}

SliderLayout CLinearSlider::Layout() const
{
    CRect client;
    GetClientRect(&client);
    return MakeSliderLayout(client, axis, value, bipolar != 0);
}

double CLinearSlider::ValueAt(CPoint point) const
{
    return SliderValueAt(Layout(), axis, bipolar != 0, point);
}

bool CLinearSlider::MoveTo(double v, bool& moved)
{
    moved = std::fabs(v - value) > kSmallestMove;
    if (!moved)
    {
        return true;
    }
    value = v;
    return TellParent(WMU_CONTROL_CHANGED);
}

// A parent may destroy the slider while it hears of a change, so nothing of
// it is touched after a notification that reports it gone.

void CLinearSlider::OnLButtonDown(UINT, CPoint point)
{
    if (blank || disabled || !InSliderHitArea(Layout(), point))
    {
        return;
    }
    dragging = true;
    SetCapture();
    bool moved = false;
    if (MoveTo(ValueAt(point), moved))
    {
        Repaint();
    }
}

void CLinearSlider::OnMouseMove(UINT, CPoint point)
{
    if (blank)
    {
        return;
    }
    // Hover is judged by the thumb where it stood before this move.
    const bool over = InSliderHitArea(Layout(), point);
    if (dragging && !disabled)
    {
        bool moved = false;
        if (!MoveTo(ValueAt(point), moved))
        {
            return;
        }
        if (moved)
        {
            Repaint();
        }
    }
    if (over != hover)
    {
        hover = over;
        Repaint();
    }
}

void CLinearSlider::OnLButtonUp(UINT, CPoint point)
{
    if (!dragging)
    {
        return;
    }
    dragging = false;
    if (::GetCapture() == m_hWnd)
    {
        ::ReleaseCapture();
    }
    bool moved = false;
    if (MoveTo(ValueAt(point), moved) && TellParent(WMU_CONTROL_COMMIT))
    {
        Repaint();
    }
}

void CLinearSlider::OnCaptureChanged(CWnd*)
{
    if (dragging)
    {
        dragging = false;
        Repaint();
    }
}

// One step a notch, however far the wheel turned; handled whenever the
// pointer is over the track or thumb, also at an end.
BOOL CLinearSlider::OnMouseWheel(UINT, short delta, CPoint screenPoint)
{
    CPoint point = screenPoint;
    ScreenToClient(&point);
    if (blank || disabled || !InSliderHitArea(Layout(), point))
    {
        return static_cast<BOOL>(Default());
    }
    const double next = std::clamp(value + (delta > 0 ? kWheelStep : -kWheelStep), 0.0, 1.0);
    bool moved = false;
    if (MoveTo(next, moved) && moved && TellParent(WMU_CONTROL_COMMIT))
    {
        Repaint();
    }
    return TRUE;
}

// The press and release before it have already moved the value to the
// pointer and committed it; the reset overrides that.
void CLinearSlider::OnLButtonDblClk(UINT, CPoint)
{
    if (disabled)
    {
        return;
    }
    bool moved = false;
    if (MoveTo(std::clamp(defaultValue, 0.0, 1.0), moved) && moved &&
        TellParent(WMU_CONTROL_COMMIT))
    {
        Repaint();
    }
}
