#include "controls/base/base_control_wnd.h"

#include "base/unicode_text.h"
#include "controls/layout/control_item.h"
#include "platform/gdiplus/gdiplus.h"
#include "controls/base/double_buffered_paint.h"
#include "controls/base/painting_helpers.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CBaseControlWnd, CWnd)

namespace
{

// Changes smaller than this are not worth a message or a repaint.
constexpr double kValueResolution = 1e-4;
constexpr int kMaxDecimals = 6;
// Below this the display range has no width and maps to 0.
constexpr double kNarrowestRange = 1e-12;

CString FromUtf8(const std::string& text)
{
    return CString(Utf8ToWide(text));
}

} // namespace

CString FormatDisplayValue(double shown, int decimals, const CString& suffix)
{
    // The decimals are part of the format: "%.<n>f%ls".
    CString format;
    format.Format(L"%%.%df%%ls", std::clamp(decimals, 0, kMaxDecimals));
    CString text;
    text.Format(format, shown, suffix.GetString());
    return text;
}

CSize CBaseControlWnd::GetGridSpan() const
{
    return CSize(gridSpanX, gridSpanY);
}

void CBaseControlWnd::SetGridSpan(CSize span)
{
    gridSpanX = std::max<int>(span.cx, 1);
    gridSpanY = std::max<int>(span.cy, 1);
}

bool CBaseControlWnd::StoreValue(double& field, double v)
{
    // A NaN would pass the clamp and the resolution test and reach the
    // painters' integer casts.
    if (std::isnan(v))
    {
        return false;
    }
    const double clamped = std::clamp(v, 0.0, 1.0);
    if (std::fabs(clamped - field) < kValueResolution)
    {
        return false;
    }
    field = clamped;
    return true;
}

void CBaseControlWnd::SetValue(double v)
{
    if (StoreValue(value, v) && TellParent(WMU_CONTROL_CHANGED))
    {
        Repaint();
    }
}

double CBaseControlWnd::GetValue() const
{
    return value;
}

void CBaseControlWnd::SetSecondaryValue(double v)
{
    if (StoreValue(secondaryValue, v))
    {
        Repaint();
    }
}

double CBaseControlWnd::GetSecondaryValue() const
{
    return secondaryValue;
}

void CBaseControlWnd::SetValueSilently(double v)
{
    if (StoreValue(value, v))
    {
        Repaint();
    }
}

void CBaseControlWnd::SetSecondaryValueSilently(double v)
{
    SetSecondaryValue(v);
}

void CBaseControlWnd::SetDefaultValue(double v)
{
    if (!std::isnan(v))
    {
        defaultValue = std::clamp(v, 0.0, 1.0);
    }
}

double CBaseControlWnd::GetDefaultValue() const
{
    return defaultValue;
}

void CBaseControlWnd::SetDisplayRange(double min, double max, int decimals, const CString& suffix)
{
    displayMin = min;
    displayMax = max;
    displayDecimals = std::clamp(decimals, 0, kMaxDecimals);
    displaySuffix = suffix;
    Repaint();
}

void CBaseControlWnd::GetDisplayRange(double& min, double& max, int& decimals,
                                      CString& suffix) const
{
    min = displayMin;
    max = displayMax;
    decimals = displayDecimals;
    suffix = displaySuffix;
}

void CBaseControlWnd::SetDisplayValue(double x)
{
    if (std::fabs(displayMax - displayMin) < kNarrowestRange)
    {
        SetValue(0.0);
        return;
    }
    SetValue((x - displayMin) / (displayMax - displayMin));
}

double CBaseControlWnd::GetDisplayValue() const
{
    return displayMin + (displayMax - displayMin) * value;
}

void CBaseControlWnd::ApplyItem(const ControlItem& item)
{
    parameterId = item.parameterId;
    SetLabel(FromUtf8(item.label));
    SetSecondaryText(FromUtf8(item.secondaryText));
    SetTextValue(FromUtf8(item.textValue));
    SetToolTip(FromUtf8(item.toolTip));
    SetAccentColor(item.accentColor);
    SetDisabled(item.disabled);
    SetBlank(item.blank);
    SetDrawBorder(item.drawBorder);
    SetDrawBackground(item.drawBackground);

    const CSize current = GetGridSpan();
    const CSize overridden(item.spanOverrideX > 0 ? item.spanOverrideX : current.cx,
                           item.spanOverrideY > 0 ? item.spanOverrideY : current.cy);
    if (overridden != current)
    {
        SetGridSpan(overridden);
    }
    // A placed item's own span wins over the overrides.
    if (item.explicitPlacement && item.spanX > 0 && item.spanY > 0)
    {
        SetGridSpan(CSize(item.spanX, item.spanY));
    }

    SetDisplayRange(item.displayMin, item.displayMax, item.displayDecimals,
                    FromUtf8(item.displaySuffix));
    SetValue(item.value);
    SetSecondaryValue(item.secondaryValue);
}

void CBaseControlWnd::SetLabel(const CString& text)
{
    label = text;
    Repaint();
}

CString CBaseControlWnd::GetLabel() const
{
    return label;
}

void CBaseControlWnd::SetSecondaryText(const CString& text)
{
    secondaryText = text;
    Repaint();
}

CString CBaseControlWnd::GetSecondaryText() const
{
    return secondaryText;
}

void CBaseControlWnd::SetTextValue(const CString& text)
{
    textValue = text;
    Repaint();
}

CString CBaseControlWnd::GetTextValue() const
{
    return textValue;
}

void CBaseControlWnd::SetToolTip(const CString& text)
{
    toolTip = text;
}

CString CBaseControlWnd::GetToolTip() const
{
    return toolTip;
}

void CBaseControlWnd::SetAccentColor(COLORREF color)
{
    accentColor = color;
    Repaint();
}

COLORREF CBaseControlWnd::GetAccentColor() const
{
    return accentColor;
}

void CBaseControlWnd::SetBackgroundColor(COLORREF color)
{
    backgroundColor = color;
    Repaint();
}

COLORREF CBaseControlWnd::GetBackgroundColor() const
{
    return backgroundColor;
}

void CBaseControlWnd::SetDisabled(bool disable)
{
    if (disable == disabled)
    {
        return;
    }
    disabled = disable;
    if (disable)
    {
        pressed = false;
        dragging = false;
        if (::IsWindow(m_hWnd) && ::GetCapture() == m_hWnd)
        {
            ::ReleaseCapture();
        }
    }
    Repaint();
}

bool CBaseControlWnd::IsDisabled() const
{
    return disabled;
}

void CBaseControlWnd::SetBlank(bool makeBlank)
{
    blank = makeBlank;
    Repaint();
}

bool CBaseControlWnd::IsBlank() const
{
    return blank;
}

void CBaseControlWnd::SetDrawBorder(bool draw)
{
    drawBorder = draw;
    Repaint();
}

bool CBaseControlWnd::GetDrawBorder() const
{
    return drawBorder;
}

void CBaseControlWnd::SetDrawBackground(bool draw)
{
    drawBackground = draw;
    Repaint();
}

bool CBaseControlWnd::GetDrawBackground() const
{
    return drawBackground;
}

ControlDrawState CBaseControlWnd::GetDrawState() const
{
    ControlDrawState state;
    state.label = label;
    state.textValue = textValue;
    state.secondaryText = secondaryText;
    state.toolTip = toolTip;
    state.value = value;
    state.secondaryValue = secondaryValue;
    state.hover = hover;
    state.pressed = pressed;
    state.dragging = dragging;
    state.disabled = disabled;
    state.blank = blank;
    state.drawBorder = drawBorder;
    state.drawBackground = drawBackground;
    state.accentColor = accentColor;
    state.backgroundColor = backgroundColor;
    state.valueText = FormatDisplayValue(GetDisplayValue(), displayDecimals, displaySuffix);
    return state;
}

BOOL CBaseControlWnd::CreateControlWindow(const RECT& rect, CWnd* parent, UINT id, LPCTSTR cursor,
                                          bool doubleClicks, DWORD style)
{
    const UINT classStyle = CS_HREDRAW | CS_VREDRAW | (doubleClicks ? CS_DBLCLKS : 0);
    const LPCTSTR windowClass =
        AfxRegisterWndClass(classStyle, ::LoadCursor(nullptr, cursor),
                            static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)));
    const CString name = CString(L"Brimvale") + FromUtf8(GetRuntimeClass()->m_lpszClassName + 1);
    return CreateEx(0, windowClass, name, style, rect, parent, id);
}

bool CBaseControlWnd::TellParent(UINT message)
{
    const HWND self = m_hWnd;
    if (!::IsWindow(self) || disabled)
    {
        return true;
    }
    const HWND parent = ::GetParent(self);
    if (parent == nullptr)
    {
        return true;
    }
    ::SendMessage(parent, message, 0, reinterpret_cast<LPARAM>(this));
    // The parent may have destroyed the control, window or object, meanwhile.
    return ::IsWindow(self) != FALSE;
}

void CBaseControlWnd::Repaint()
{
    if (::IsWindow(m_hWnd))
    {
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    }
}

void CBaseControlWnd::RequestLeaveNotice()
{
    TRACKMOUSEEVENT request{};
    request.cbSize = sizeof(request);
    request.dwFlags = TME_LEAVE;
    request.hwndTrack = m_hWnd;
    ::TrackMouseEvent(&request);
}

void CBaseControlWnd::PaintBuffered(
    CWnd& window, const std::function<void(Gdiplus::Graphics&, const RECT&)>& paint,
    bool gridFittedText)
{
    PaintDoubleBuffered(window,
                        [&](Gdiplus::Graphics& graphics, const RECT& client)
                        {
                            if (!gridFittedText)
                            {
                                graphics.SetTextRenderingHint(
                                    Gdiplus::TextRenderingHintSystemDefault);
                            }
                            paint(graphics, client);
                        });
}

bool CBaseControlWnd::PaintBackground(Gdiplus::Graphics& graphics, const RECT& client,
                                      const ControlDrawState& state, BackgroundPainter background)
{
    if (state.blank)
    {
        graphics.Clear(Gdiplus::ColorFromRef(state.backgroundColor));
        return false;
    }
    background(graphics, client, state);
    return true;
}
