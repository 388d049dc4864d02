#include "controls/switches/toggle_switch_wnd.h"

#include "controls/base/accent_shade.h"
#include "controls/base/client_state.h"
#include "controls/base/control_text.h"
#include "controls/base/painting_helpers.h"
#include "controls/layout/control_item.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CToggleSwitchWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CToggleSwitchWnd, CBaseControlWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

namespace
{

using Gdiplus::ARGB;
using Gdiplus::REAL;

bool OnFrom(double v)
{
    return std::clamp(v, 0.0, 1.0) >= 0.5;
}

void FillRounded(Gdiplus::Graphics& graphics, const Gdiplus::Brush& brush, REAL x, REAL y, REAL w,
                 REAL h, REAL radius, const Gdiplus::Pen* outline = nullptr)
{
    Gdiplus::GraphicsPath path;
    AddRoundedRectFigure(path, x, y, w, h, radius);
    graphics.FillPath(&brush, &path);
    if (outline != nullptr)
    {
        graphics.DrawPath(outline, &path);
    }
}

} // namespace

ToggleSwitchLayout ToggleSwitchLayout::Of(const RECT& rect, bool on)
{
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    const int trackWidth = std::min(72, w - 14);
    const int trackHeight = std::min(29, h - 38);
    const int trackLeft = rect.left + (w - trackWidth) / 2;
    ToggleSwitchLayout layout{};
    layout.track = {trackLeft, rect.top + 22, trackLeft + trackWidth, rect.top + 22 + trackHeight};
    layout.labelBox = {rect.left + 4, rect.top + 6, rect.right - 4, rect.top + 20};
    layout.stateBox = {trackLeft, layout.track.bottom + 6, trackLeft + trackWidth,
                       layout.track.bottom + 22};
    layout.knobX = on ? layout.track.right - trackWidth / 2 : trackLeft + 3;
    layout.knobY = rect.top + 25;
    layout.knobWidth = trackWidth / 2 - 3;
    layout.knobHeight = trackHeight - 6;
    layout.trackRadius = 6.0;
    layout.knobRadius = 8.0;
    return layout;
}

void DrawToggleSwitch(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state,
                      const bool& on)
{
    const ToggleSwitchLayout layout = ToggleSwitchLayout::Of(rect, on);
    const REAL trackLeft = REAL(layout.track.left);
    const REAL trackTop = REAL(layout.track.top);
    const REAL trackWidth = REAL(layout.track.right - layout.track.left);
    const REAL trackHeight = REAL(layout.track.bottom - layout.track.top);

    if (trackWidth > 0 && trackHeight > 0)
    {
        const Gdiplus::SolidBrush shadow{Gdiplus::Color(0x26000000)};
        FillRounded(graphics, shadow, trackLeft - 2, trackTop + 4, trackWidth + 4, trackHeight + 4,
                    8);
        const Gdiplus::LinearGradientBrush track(
            Gdiplus::PointF(trackLeft, trackTop),
            Gdiplus::PointF(trackLeft, REAL(layout.track.bottom)), Gdiplus::Color(0xFF12151A),
            Gdiplus::Color(0xFF090B0E));
        const Gdiplus::Pen trackEdge(Gdiplus::Color(0x3AFFFFFF), 1.0f);
        FillRounded(graphics, track, trackLeft, trackTop, trackWidth, trackHeight,
                    REAL(layout.trackRadius), &trackEdge);
    }

    const REAL knobX = REAL(layout.knobX);
    const REAL knobY = REAL(layout.knobY);
    const REAL knobWidth = REAL(layout.knobWidth);
    const REAL knobHeight = REAL(layout.knobHeight);
    if (knobWidth > 0 && knobHeight > 0)
    {
        const COLORREF accent = state.accentColor;
        const Gdiplus::LinearGradientBrush knob(
            Gdiplus::PointF(knobX, knobY), Gdiplus::PointF(knobX, knobY + knobHeight),
            on ? AccentShade(accent, 0xFF, 1.04) : Gdiplus::Color(0xFF2C2F35),
            on ? AccentShade(accent, 0xFF, 0.78) : Gdiplus::Color(0xFF181B20));
        const REAL radius = REAL(layout.knobRadius);
        FillRounded(graphics, knob, knobX, knobY, knobWidth, knobHeight, radius);
        if (on)
        {
            const Gdiplus::SolidBrush glow(
                Gdiplus::ColorFromRef(accent, state.hover ? 0x28 : 0x1C));
            FillRounded(graphics, glow, knobX - 2, knobY - 2, knobWidth + 4, knobHeight + 4, 10);
            FillRounded(graphics, knob, knobX, knobY, knobWidth, knobHeight, radius);
        }
        Gdiplus::GraphicsPath outline;
        AddRoundedRectFigure(outline, knobX, knobY, knobWidth, knobHeight, radius);
        const Gdiplus::Pen knobEdge(Gdiplus::Color(0x48FFFFFF), 1.0f);
        graphics.DrawPath(&knobEdge, &outline);
    }

    const auto box = [](const RECT& r)
    {
        return Gdiplus::RectF(REAL(r.left), REAL(r.top), REAL(r.right - r.left),
                              REAL(r.bottom - r.top));
    };
    DrawControlText(graphics, state.label, 10, true, box(layout.labelBox), 0xD6DEDCD6,
                    TextPlacement::Top);
    DrawControlText(graphics, on ? L"ON" : L"OFF", 11, true, box(layout.stateBox),
                    on ? 0xF5FFF3E7 : 0xBCC0C5CC, TextPlacement::Top);
}

CToggleSwitchWnd::CToggleSwitchWnd()
{
    kindName = "toggle switch";
    SetGridSpan(CSize(2, 2));
    label = L"Bypass";
}

void CToggleSwitchWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawToggleSwitch(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot, state.on);
}

CToggleSwitchWnd::State CToggleSwitchWnd::GetState() const
{
    State state = ClientStateOf<State>(*this);
    state.on = on;
    return state;
}

BOOL CToggleSwitchWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_HAND, false);
}

void CToggleSwitchWnd::SetValue(double v)
{
    if (!std::isnan(v))
    {
        SetOn(OnFrom(v));
    }
}

void CToggleSwitchWnd::SetValueSilently(double v)
{
    if (std::isnan(v) || OnFrom(v) == on)
    {
        return;
    }
    on = OnFrom(v);
    value = on ? 1.0 : 0.0;
    Repaint();
}

void CToggleSwitchWnd::ApplyItem(const ControlItem& item)
{
    CBaseControlWnd::ApplyItem(item);
    SetOn(item.toggleValue);
}

void CToggleSwitchWnd::SetOn(bool b)
{
    ChangeOn(b);
}

bool CToggleSwitchWnd::ChangeOn(bool b)
{
    if (b == on)
    {
        return true;
    }
    on = b;
    value = on ? 1.0 : 0.0;
    if (!TellParent(WMU_CONTROL_CHANGED))
    {
        return false;
    }
    Repaint();
    return true;
}

bool CToggleSwitchWnd::InTrack(CPoint point) const
{
    CRect client;
    GetClientRect(&client);
    const RECT track = ToggleSwitchLayout::Of(client, on).track;
    return ::PtInRect(&track, point) != FALSE;
}

void CToggleSwitchWnd::OnPaint()
{
    PaintControl(*this, &PaintValueControlBackground);
}

// A disabled toggle keeps its look, hover glow included, so the move is
// ignored too.
void CToggleSwitchWnd::OnMouseMove(UINT, CPoint point)
{
    if (blank || disabled)
    {
        return;
    }
    const bool over = InTrack(point);
    if (over != hover)
    {
        hover = over;
        Repaint();
    }
}

void CToggleSwitchWnd::OnLButtonDown(UINT, CPoint point)
{
    if (blank || disabled || !IsWindowEnabled() || !InTrack(point))
    {
        return;
    }
    SetCapture();
    pressed = true;
    Repaint();
}

// The release point is not tested: a press on the track flips the switch
// wherever the button comes up.
void CToggleSwitchWnd::OnLButtonUp(UINT, CPoint)
{
    if (!pressed)
    {
        return;
    }
    pressed = false;
    if (::GetCapture() == m_hWnd)
    {
        ::ReleaseCapture();
    }
    if (!disabled && IsWindowEnabled())
    {
        if (!ChangeOn(!on) || !TellParent(WMU_CONTROL_COMMIT))
        {
            return;
        }
    }
    Repaint();
}

// Losing the capture ends the press without a flip.
void CToggleSwitchWnd::OnCaptureChanged(CWnd*)
{
    if (pressed)
    {
        pressed = false;
        Repaint();
    }
}
