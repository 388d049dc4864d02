#include "controls/knobs/continuous_knob.h"

#include "controls/base/standard_cursor.h"
#include "controls/knobs/knob_scale.h"
#include "controls/layout/control_item.h"

IMPLEMENT_DYNAMIC(CContinuousKnob, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CContinuousKnob, CBaseControlWnd)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEWHEEL()
ON_WM_LBUTTONDBLCLK()
ON_WM_CAPTURECHANGED()
ON_WM_SETCURSOR()
END_MESSAGE_MAP()

namespace
{

// Pixels of vertical drag across the whole range.
constexpr double kDragSpan = 220.0;
constexpr double kWheelStep = 0.02;
constexpr int kBipolarValueMode = 2;

} // namespace

BOOL CContinuousKnob::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_HAND, true);
}

CSize CContinuousKnob::GetPreferredSize() const
{
    return knobSize == KnobSize::Large ? CSize(240, 320) : CSize(160, 160);
}

void CContinuousKnob::ApplyItem(const ControlItem& item)
{
    CBaseControlWnd::ApplyItem(item);
    const bool fromMiddle = item.valueMode == kBipolarValueMode;
    if (fromMiddle != bipolar)
    {
        bipolar = fromMiddle;
        Repaint();
    }
}

KnobGeometry CContinuousKnob::Geometry() const
{
    CRect client;
    GetClientRect(&client);
    return MakeKnobGeometry(client, knobSize);
}

bool CContinuousKnob::TakesInput() const
{
    return !blank && !disabled && IsWindowEnabled();
}

// A parent may destroy the knob while it hears of a change, so after each
// notification the window is looked up again before anything of it is used.

void CContinuousKnob::OnMouseMove(UINT, CPoint point)
{
    if (!blank)
    {
        const KnobGeometry g = Geometry();
        const bool inside = g.DistanceSquared(point.x, point.y) <= g.hoverRadius * g.hoverRadius;
        if (inside != hover)
        {
            hover = inside;
            ShowStandardCursor(inside && !disabled ? IDC_SIZENS : IDC_ARROW);
            Repaint();
        }
        if (dragging && !disabled)
        {
            ShowStandardCursor(IDC_SIZENS);
            const HWND self = m_hWnd;
            SetValue(dragStartValue + (dragStartPoint.y - point.y) / kDragSpan);
            if (!::IsWindow(self))
            {
                return;
            }
        }
    }
    Default();
}

void CContinuousKnob::OnLButtonDown(UINT, CPoint point)
{
    if (TakesInput())
    {
        const HWND self = m_hWnd;
        const KnobGeometry g = Geometry();
        const double distance = g.DistanceSquared(point.x, point.y);
        if (distance >= g.pressInner * g.pressInner && distance <= g.pressOuter * g.pressOuter)
        {
            if (const auto jump = ScaleValueAt(point.x - g.centerX, point.y - g.centerY))
            {
                SetValue(*jump);
                if (!::IsWindow(self))
                {
                    return;
                }
            }
        }
        SetFocus();
        SetCapture();
        dragging = true;
        dragStartPoint = point;
        dragStartValue = value;
        Repaint();
    }
    Default();
}

void CContinuousKnob::OnLButtonUp(UINT, CPoint)
{
    if (dragging)
    {
        dragging = false;
        if (::GetCapture() == m_hWnd)
        {
            ::ReleaseCapture();
        }
        if (!TellParent(WMU_CONTROL_COMMIT))
        {
            return;
        }
        Repaint();
    }
    Default();
}

// The drag ends where it was; a gesture the user did not finish commits nothing.
void CContinuousKnob::OnCaptureChanged(CWnd*)
{
    if (dragging)
    {
        dragging = false;
        Repaint();
    }
    Default();
}

// One step a notch, however far the wheel turned; a turn the knob does not
// take is not passed on.
BOOL CContinuousKnob::OnMouseWheel(UINT, short delta, CPoint)
{
    if (!TakesInput())
    {
        return FALSE;
    }
    const HWND self = m_hWnd;
    SetValue(value + (delta > 0 ? kWheelStep : -kWheelStep));
    if (::IsWindow(self))
    {
        TellParent(WMU_CONTROL_COMMIT);
    }
    return TRUE;
}

void CContinuousKnob::OnLButtonDblClk(UINT, CPoint)
{
    if (TakesInput())
    {
        const HWND self = m_hWnd;
        SetValue(defaultValue);
        if (!::IsWindow(self) || !TellParent(WMU_CONTROL_COMMIT))
        {
            return;
        }
    }
    Default();
}

BOOL CContinuousKnob::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    if (!disabled && (dragging || hover))
    {
        ShowStandardCursor(IDC_SIZENS);
        return TRUE;
    }
    return CWnd::OnSetCursor(wnd, hitTest, message);
}
