#include "tests/controls/probe_control_wnd.h"

#include "controls/base/painting_helpers.h"

IMPLEMENT_DYNAMIC(CProbeControlWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CProbeControlWnd, CBaseControlWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CProbeControlWnd::CProbeControlWnd()
{
    kindName = "probe";
    SetGridSpan(CSize(2, 3));
    label = L"Probe";
    calls.clear();
}

void CProbeControlWnd::Draw(Gdiplus::Graphics&, const State&)
{
}

CProbeControlWnd::State CProbeControlWnd::GetState() const
{
    State state;
    CRect client;
    if (::IsWindow(m_hWnd))
    {
        GetClientRect(&client);
    }
    state.size = client.Size();
    state.snapshot = GetDrawState();
    return state;
}

BOOL CProbeControlWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_HAND, true);
}

void CProbeControlWnd::SetGridSpan(CSize span)
{
    calls.push_back("SetGridSpan");
    CBaseControlWnd::SetGridSpan(span);
}

void CProbeControlWnd::SetValue(double v)
{
    calls.push_back("SetValue");
    CBaseControlWnd::SetValue(v);
}

void CProbeControlWnd::SetSecondaryValue(double v)
{
    calls.push_back("SetSecondaryValue");
    CBaseControlWnd::SetSecondaryValue(v);
}

void CProbeControlWnd::SetDisplayRange(double min, double max, int decimals, const CString& suffix)
{
    calls.push_back("SetDisplayRange");
    CBaseControlWnd::SetDisplayRange(min, max, decimals, suffix);
}

void CProbeControlWnd::SetLabel(const CString& text)
{
    calls.push_back("SetLabel");
    CBaseControlWnd::SetLabel(text);
}

void CProbeControlWnd::SetSecondaryText(const CString& text)
{
    calls.push_back("SetSecondaryText");
    CBaseControlWnd::SetSecondaryText(text);
}

void CProbeControlWnd::SetTextValue(const CString& text)
{
    calls.push_back("SetTextValue");
    CBaseControlWnd::SetTextValue(text);
}

void CProbeControlWnd::SetToolTip(const CString& text)
{
    calls.push_back("SetToolTip");
    CBaseControlWnd::SetToolTip(text);
}

void CProbeControlWnd::SetAccentColor(COLORREF color)
{
    calls.push_back("SetAccentColor");
    CBaseControlWnd::SetAccentColor(color);
}

void CProbeControlWnd::SetDisabled(bool disable)
{
    calls.push_back("SetDisabled");
    CBaseControlWnd::SetDisabled(disable);
}

void CProbeControlWnd::SetBlank(bool makeBlank)
{
    calls.push_back("SetBlank");
    CBaseControlWnd::SetBlank(makeBlank);
}

void CProbeControlWnd::SetDrawBorder(bool draw)
{
    calls.push_back("SetDrawBorder");
    CBaseControlWnd::SetDrawBorder(draw);
}

void CProbeControlWnd::SetDrawBackground(bool draw)
{
    calls.push_back("SetDrawBackground");
    CBaseControlWnd::SetDrawBackground(draw);
}

void CProbeControlWnd::OnPaint()
{
    PaintControl(*this, &PaintValueControlBackground);
}

double CProbeControlWnd::ValueAt(CPoint point) const
{
    CRect client;
    GetClientRect(&client);
    return client.Width() > 1 ? double(point.x) / (client.Width() - 1) : 0.0;
}

void CProbeControlWnd::OnLButtonDown(UINT, CPoint point)
{
    if (disabled || blank)
    {
        return;
    }
    SetCapture();
    pressed = true;
    dragging = true;
    SetValue(ValueAt(point));
}

void CProbeControlWnd::OnMouseMove(UINT, CPoint point)
{
    if (dragging && !disabled)
    {
        SetValue(ValueAt(point));
    }
}

void CProbeControlWnd::OnLButtonUp(UINT, CPoint)
{
    if (!dragging)
    {
        return;
    }
    pressed = false;
    dragging = false;
    ::ReleaseCapture();
    TellParent(WMU_CONTROL_COMMIT);
}

void CProbeControlWnd::OnLButtonDblClk(UINT, CPoint)
{
    if (disabled || blank)
    {
        return;
    }
    SetValue(GetDefaultValue());
    TellParent(WMU_CONTROL_COMMIT);
}

// Losing the capture ends the gesture without a commit.
void CProbeControlWnd::OnCaptureChanged(CWnd*)
{
    pressed = false;
    dragging = false;
}
