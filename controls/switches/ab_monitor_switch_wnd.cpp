#include "controls/switches/ab_monitor_switch_wnd.h"

#include "controls/base/accent_shade.h"
#include "controls/base/client_state.h"
#include "controls/base/control_text.h"
#include "controls/base/painting_helpers.h"
#include "controls/layout/control_item.h"

#include <cmath>

IMPLEMENT_DYNAMIC(CABMonitorSwitchWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CABMonitorSwitchWnd, CBaseControlWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_MOUSEMOVE()
ON_WM_MOUSELEAVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEWHEEL()
ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

namespace
{

using Gdiplus::REAL;

// The body's inset from the sides and its top and bottom below the top edge.
constexpr int kInset = 14;
constexpr int kBodyTop = 10;
constexpr int kBodyBottom = 44;

int HalfWidth(const RECT& rect)
{
    return (rect.right - rect.left - 2 * kInset) / 2;
}

RECT Body(const RECT& rect)
{
    return {rect.left + kInset, rect.top + kBodyTop, rect.right - kInset, rect.top + kBodyBottom};
}

int StateFrom(double v)
{
    return v >= 0.5 ? 1 : 0;
}

} // namespace

void DrawABMonitorSwitch(Gdiplus::Graphics& graphics, const RECT& rect,
                         const ControlDrawState& state, const ABMonitorSwitchState& s)
{
    const REAL x0 = REAL(rect.left + kInset);
    const REAL top = REAL(rect.top);
    const REAL bodyWidth = REAL(rect.right - rect.left - 2 * kInset);
    const int hw = HalfWidth(rect);
    if (bodyWidth <= 0)
    {
        return;
    }

    Gdiplus::GraphicsPath body;
    AddRoundedRectFigure(body, x0, top + kBodyTop, bodyWidth, kBodyBottom - kBodyTop, 12);
    const Gdiplus::LinearGradientBrush bodyFill(
        Gdiplus::PointF(x0, top + kBodyTop), Gdiplus::PointF(x0, top + kBodyBottom),
        Gdiplus::Color(0xFF12151A), Gdiplus::Color(0xFF080A0D));
    graphics.FillPath(&bodyFill, &body);
    const Gdiplus::Pen bodyEdge(Gdiplus::Color(0x3AFFFFFF), 1.0f);
    graphics.DrawPath(&bodyEdge, &body);

    const COLORREF accent = state.accentColor;
    for (int i = 0; i < 2; ++i)
    {
        const REAL xi = x0 + REAL(i * hw);
        const bool selected = i == s.state;
        const bool lit = i == s.hoverHalf || i == s.pressedHalf;
        if (i == 1)
        {
            const Gdiplus::Pen divider(Gdiplus::Color(0x2CFFFFFF), 1.0f);
            graphics.DrawLine(&divider, xi + 0.5f, top + 16, xi + 0.5f, top + 38);
        }
        if (selected || lit)
        {
            Gdiplus::GraphicsPath pill;
            AddRoundedRectFigure(pill, xi + 3, top + 13, REAL(hw - 6), 28, 9);
            if (selected)
            {
                const Gdiplus::LinearGradientBrush fill(Gdiplus::PointF(xi, top + kBodyTop),
                                                        Gdiplus::PointF(xi, top + kBodyBottom),
                                                        AccentShade(accent, 0xEE, 1.04, 1.04, 1.02),
                                                        AccentShade(accent, 0xE2, 0.6, 0.6, 0.58));
                graphics.FillPath(&fill, &pill);
            }
            else
            {
                const Gdiplus::SolidBrush fill(
                    Gdiplus::ColorFromRef(accent, i == s.pressedHalf ? 0x26 : 0x1A));
                graphics.FillPath(&fill, &pill);
            }
        }
        const Gdiplus::ARGB letterColour = selected ? 0xEEFAF4EC : lit ? 0xD6E2E0DA : 0xAEE2E0DA;
        DrawControlText(graphics, i == 0 ? L"A" : L"B", 15, true,
                        Gdiplus::RectF(xi, top + 16, REAL(hw), 16), letterColour,
                        TextPlacement::Middle);
        DrawControlText(graphics, i == 0 ? L"ORIG" : L"PROC", 7.5f, false,
                        Gdiplus::RectF(xi, top + 31, REAL(hw), 10),
                        selected ? 0xD0FFF8F0 : 0x96B8B8B5, TextPlacement::Middle);
    }
}

CABMonitorSwitchWnd::CABMonitorSwitchWnd()
{
    kindName = "ab monitor";
    SetGridSpan(CSize(4, 2));
    displaySuffix = L"";
}

void CABMonitorSwitchWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawABMonitorSwitch(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot,
                        state.halves);
}

CABMonitorSwitchWnd::State CABMonitorSwitchWnd::GetState() const
{
    State snapshot = ClientStateOf<State>(*this);
    snapshot.halves = {state, hoverHalf, pressedHalf};
    return snapshot;
}

BOOL CABMonitorSwitchWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_HAND, false);
}

void CABMonitorSwitchWnd::SetValue(double v)
{
    if (!std::isnan(v))
    {
        SetState(StateFrom(v));
    }
}

void CABMonitorSwitchWnd::SetValueSilently(double v)
{
    if (std::isnan(v) || StateFrom(v) == state)
    {
        return;
    }
    state = StateFrom(v);
    value = state;
    Repaint();
}

void CABMonitorSwitchWnd::ApplyItem(const ControlItem& item)
{
    CBaseControlWnd::ApplyItem(item);
    SetState(item.selectedIndex);
}

void CABMonitorSwitchWnd::SetState(int s)
{
    ChangeState(s);
}

bool CABMonitorSwitchWnd::ChangeState(int s)
{
    const int next = s > 0 ? 1 : 0;
    if (next == state)
    {
        return true;
    }
    state = next;
    value = state;
    if (!TellParent(WMU_CONTROL_CHANGED))
    {
        return false;
    }
    Repaint();
    return true;
}

int CABMonitorSwitchWnd::HitTest(CPoint point) const
{
    CRect client;
    GetClientRect(&client);
    const RECT body = Body(client);
    if (!::PtInRect(&body, point))
    {
        return -1;
    }
    return point.x - body.left >= HalfWidth(client) ? 1 : 0;
}

void CABMonitorSwitchWnd::OnPaint()
{
    PaintControl(*this, &PaintControlBackground);
}

void CABMonitorSwitchWnd::OnMouseMove(UINT, CPoint point)
{
    if (blank || disabled)
    {
        return;
    }
    const int half = HitTest(point);
    if (half != hoverHalf)
    {
        hoverHalf = half;
        Repaint();
    }
    // The leave notice is one-shot, so it is asked for again on every move.
    TRACKMOUSEEVENT request{};
    request.cbSize = sizeof(request);
    request.dwFlags = TME_LEAVE;
    request.hwndTrack = m_hWnd;
    ::TrackMouseEvent(&request);
}

void CABMonitorSwitchWnd::OnMouseLeave()
{
    if (hoverHalf != -1)
    {
        hoverHalf = -1;
        Repaint();
    }
}

void CABMonitorSwitchWnd::OnLButtonDown(UINT, CPoint point)
{
    if (blank || disabled)
    {
        return;
    }
    const int half = HitTest(point);
    if (half >= 0)
    {
        pressedHalf = half;
        SetCapture();
        Repaint();
    }
}

// Selects only when released on the half it was pressed on.
void CABMonitorSwitchWnd::OnLButtonUp(UINT, CPoint point)
{
    const int pressedOn = pressedHalf;
    if (pressedOn >= 0)
    {
        pressedHalf = -1;
        if (::GetCapture() == m_hWnd)
        {
            ::ReleaseCapture();
        }
    }
    if (blank || disabled || pressedOn < 0)
    {
        return;
    }
    // The pressed look goes whether or not the state moves.
    if (HitTest(point) == pressedOn && !ChangeState(pressedOn))
    {
        return;
    }
    Repaint();
}

BOOL CABMonitorSwitchWnd::OnMouseWheel(UINT, short delta, CPoint)
{
    if (blank || disabled)
    {
        return FALSE;
    }
    ChangeState(delta < 0 ? 1 : 0);
    return TRUE;
}

void CABMonitorSwitchWnd::OnCaptureChanged(CWnd*)
{
    if (pressedHalf >= 0)
    {
        pressedHalf = -1;
        Repaint();
    }
}
