#include "pages/transport_surface_viewport_wnd.h"

#include "controls/base/client_state.h"
#include "controls/base/control_text.h"
#include "controls/base/double_buffered_paint.h"
#include "controls/base/painting_helpers.h"
#include "pages/page_painting.h"
#include "pages/page_window.h"
#include "platform/gdiplus/gdiplus.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cwchar>
#include <utility>

using Gdiplus::ARGB;
using Gdiplus::REAL;

TransportLayout ComputeTransportLayout(const RECT& client)
{
    const int L = client.left;
    const int T = client.top;
    const int R = client.right;
    const int B = client.bottom;
    const int H = B - T;

    TransportLayout layout;
    const int g = std::max(H - 8, 0);
    const int d = std::clamp(g, 28, 38);
    const int processHeight = std::max(g - 4, 26);
    const int switchHeight = std::max(g - 8, 24);
    const int buttonsWidth = 2 * d + 12;
    layout.diameter = d;

    const int usable = (R - L) - 28;
    const int gap =
        usable >= buttonsWidth + 330 ? 18 : std::max(usable - (buttonsWidth + 276), 0) / 3;
    const int need = buttonsWidth + 354;
    int timeWidth = 118;
    int switchWidth = 124;
    int processWidth = 112;
    if (need + 3 * gap > 0 && usable < need + 3 * gap)
    {
        const double scale = double(std::max(usable - 3 * gap, 0)) / double(need);
        timeWidth = std::max(86, int(118 * scale));
        switchWidth = std::max(104, int(124 * scale));
        processWidth = std::max(86, int(112 * scale));
    }

    const int processTop = T + (H - processHeight) / 2;
    layout.process = {R - 14 - processWidth, processTop, R - 14, processTop + processHeight};

    const int free = std::max(layout.process.left - gap - (L + 14), 0) -
                     (timeWidth + gap + buttonsWidth + gap + switchWidth);
    const int x0 = L + 14 + std::max(free, 0) / 2;
    layout.timeReadout = {x0, T + 4, x0 + timeWidth, B - 4};

    const int buttonTop = T + (H - d) / 2;
    const int playLeft = layout.timeReadout.right + gap;
    layout.play = {playLeft, buttonTop, playLeft + d, buttonTop + d};
    const int stopLeft = layout.play.right + 12;
    layout.stop = {stopLeft, buttonTop, stopLeft + d, buttonTop + d};

    const int switchLeft = layout.stop.right + gap;
    const int switchTop = T + (H - switchHeight) / 2;
    layout.monitorSwitch = {switchLeft, switchTop, switchLeft + switchWidth,
                            switchTop + switchHeight};
    layout.in = {switchLeft, switchTop, switchLeft + switchWidth / 2, switchTop + switchHeight};
    layout.out = {layout.in.right, switchTop, layout.monitorSwitch.right, switchTop + switchHeight};
    return layout;
}

int HitTestTransport(const TransportLayout& layout, POINT point)
{
    const RECT* const order[] = {&layout.play, &layout.stop, &layout.in, &layout.out,
                                 &layout.process};
    for (int i = 0; i < 5; ++i)
    {
        if (::PtInRect(order[i], point))
        {
            return i + 1;
        }
    }
    return kTransportNone;
}

std::wstring FormatTransportTime(double seconds)
{
    // NaN reads as 0; the cap keeps the whole seconds within an int.
    const double p = std::isnan(seconds) ? 0.0 : std::clamp(seconds, 0.0, double(INT_MAX));
    const double whole = std::trunc(p);
    const int s = int(whole);
    const int m = s / 60;
    const int tenths = std::min(int(std::floor((p - whole) * 10.0)), 9);
    wchar_t text[32];
    if (m < 100)
    {
        std::swprintf(text, 32, L"%02d:%02d.%d", m, s - 60 * m, tenths);
    }
    else
    {
        std::swprintf(text, 32, L"%04d", s);
    }
    return text;
}

IMPLEMENT_DYNAMIC(CTransportSurfaceViewportWnd, CWnd)

BEGIN_MESSAGE_MAP(CTransportSurfaceViewportWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_CAPTURECHANGED()
ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

CTransportSurfaceViewportWnd::~CTransportSurfaceViewportWnd() = default;

BOOL CTransportSurfaceViewportWnd::Create(CWnd* parent, const RECT& rect, UINT id)
{
    return CreatePageWindow(*this, parent, rect, id, L"BrimvaleTransportSurfaceViewportWnd");
}

void CTransportSurfaceViewportWnd::SetBackgroundColor(COLORREF color)
{
    StoreAndRepaint(*this, backgroundColor, color);
}

void CTransportSurfaceViewportWnd::SetPlaying(bool on)
{
    StoreAndRepaint(*this, playing, on);
}

void CTransportSurfaceViewportWnd::SetMonitorSource(bool on)
{
    StoreAndRepaint(*this, monitorSource, on);
}

void CTransportSurfaceViewportWnd::SetProcessLabel(const std::wstring& label)
{
    StoreAndRepaint(*this, processLabel, label);
}

void CTransportSurfaceViewportWnd::SetStatus(bool show, const std::wstring& caption,
                                             const std::wstring& text)
{
    std::wstring newCaption = show ? caption : std::wstring();
    std::wstring newText = show ? text : std::wstring();
    if (show == showStatus && newCaption == statusCaption && newText == statusText)
    {
        return;
    }
    showStatus = show;
    statusCaption = std::move(newCaption);
    statusText = std::move(newText);
    RepaintWhole(*this);
}

void CTransportSurfaceViewportWnd::SetPosition(double seconds)
{
    if (std::isnan(seconds))
    {
        return;
    }
    const double stored = std::max(seconds, 0.0);
    if (std::fabs(stored - position) < 1e-4)
    {
        return;
    }
    position = stored;
    UpdateTimeText();
}

void CTransportSurfaceViewportWnd::UpdateTimeText()
{
    timeText = FormatTransportTime(position);
    RepaintWhole(*this);
}

int CTransportSurfaceViewportWnd::HitTest(POINT point) const
{
    if (!::IsWindow(m_hWnd))
    {
        return kTransportNone;
    }
    CRect client;
    GetClientRect(&client);
    return HitTestTransport(ComputeTransportLayout(client), point);
}

CTransportSurfaceViewportWnd::State CTransportSurfaceViewportWnd::GetState() const
{
    State state;
    state.size = ClientSizeOf(*this);
    state.backgroundColor = backgroundColor;
    state.playing = playing;
    state.monitorSource = monitorSource;
    state.processLabel = processLabel;
    state.timeText = timeText;
    state.showStatus = showStatus;
    state.statusCaption = statusCaption;
    state.statusText = statusText;
    state.hoverButton = hoverButton;
    state.pressedButton = pressedButton;
    return state;
}

namespace
{

void DrawRoundButton(Gdiplus::Graphics& graphics, const RECT& rect, bool isPlay, bool active,
                     bool hovered, bool pressed)
{
    const Gdiplus::RectF box = InsetRectF(PageRectF(rect), 1.0f);
    if (!(box.Width > 0 && box.Height > 0))
    {
        return;
    }
    const ARGB tint = isPlay ? 0xE48452 : 0xD66E5C;
    const ARGB alpha = pressed ? 0x3A : active ? 0xA8 : hovered ? 0x28 : 0;
    if (alpha != 0)
    {
        const Gdiplus::SolidBrush fill{Gdiplus::Color(alpha << 24 | tint)};
        graphics.FillEllipse(&fill, box);
    }
    const Gdiplus::Pen outline(Gdiplus::Color(0x5CE8E8E4), pressed || active ? 1.6f : 1.2f);
    graphics.DrawEllipse(&outline, box);

    const Gdiplus::SolidBrush glyph(Gdiplus::Color(0xE8F4F0E8));
    const REAL w = box.Width;
    const REAL h = box.Height;
    if (isPlay)
    {
        const Gdiplus::PointF corners[] = {{box.X + 0.42f * w, box.Y + 0.31f * h},
                                           {box.X + 0.42f * w, box.Y + 0.69f * h},
                                           {box.X + 0.68f * w, box.Y + 0.5f * h}};
        graphics.FillPolygon(&glyph, corners, 3);
    }
    else
    {
        const REAL side = 0.24f * w;
        graphics.FillRectangle(&glyph, box.X + (w - side) / 2, box.Y + (h - side) / 2, side, side);
    }
}

void DrawSwitchHalf(Gdiplus::Graphics& graphics, const RECT& half, const wchar_t* text,
                    bool selected, bool hovered, ARGB selectedFill, ARGB hoverFill)
{
    const Gdiplus::RectF box = PageRectF(half);
    const ARGB fill = selected ? selectedFill : hovered ? hoverFill : 0;
    if (fill != 0)
    {
        const Gdiplus::RectF inner = InsetRectF(box, 2.0f);
        const Gdiplus::SolidBrush brush{Gdiplus::Color(fill)};
        PaintRoundedRect(graphics, inner, 0.38f * inner.Height, &brush, nullptr);
    }
    DrawControlText(graphics, text, ControlFont{11.0f, Gdiplus::FontStyleBold},
                    selected ? 0xEEF8F2EA : 0xC0E0E0DC, box);
}

} // namespace

void CTransportSurfaceViewportWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    const int width = state.size.cx;
    const int height = state.size.cy;
    if (width <= 0 || height <= 0)
    {
        return;
    }
    PaintStripBackground(graphics, width, height, state.backgroundColor);

    const TransportLayout layout = ComputeTransportLayout(RECT{0, 0, width, height});

    const RECT& readout = layout.timeReadout;
    if (readout.right > readout.left && readout.bottom > readout.top)
    {
        const REAL left = REAL(readout.left);
        const REAL boxWidth = REAL(readout.right - readout.left);
        DrawControlText(graphics, state.showStatus ? state.statusCaption.c_str() : L"TIME",
                        ControlFont{8.0f, Gdiplus::FontStyleBold}, 0x96D0D0CC,
                        Gdiplus::RectF(left, REAL(readout.top + 2), boxWidth, 10.0f));
        DrawControlText(graphics,
                        state.showStatus ? state.statusText.c_str() : state.timeText.c_str(),
                        ControlFont{16.0f, Gdiplus::FontStyleBold}, 0xE8F4EEE6,
                        Gdiplus::RectF(left, REAL(readout.top + 10), boxWidth,
                                       REAL(readout.bottom - readout.top - 10)));
    }

    DrawRoundButton(graphics, layout.play, true, state.playing, state.hoverButton == kTransportPlay,
                    state.pressedButton == kTransportPlay);
    DrawRoundButton(graphics, layout.stop, false, false, state.hoverButton == kTransportStop,
                    state.pressedButton == kTransportStop);

    const Gdiplus::RectF whole = InsetRectF(PageRectF(layout.monitorSwitch), 0.5f);
    const Gdiplus::Pen switchOutline(Gdiplus::Color(0x48E8E8E4), 1.0f);
    PaintRoundedRect(graphics, whole,
                     0.42f * REAL(layout.monitorSwitch.bottom - layout.monitorSwitch.top), nullptr,
                     &switchOutline);
    DrawSwitchHalf(graphics, layout.in, L"In", state.monitorSource,
                   state.hoverButton == kTransportIn, 0xA84B8CBA, 0x28549CD0);
    DrawSwitchHalf(graphics, layout.out, L"Out", !state.monitorSource,
                   state.hoverButton == kTransportOut, 0xA8DB516F, 0x28DB516F);

    const bool pressed = state.pressedButton == kTransportProcess;
    const bool hovered = !pressed && state.hoverButton == kTransportProcess;
    const double f = pressed ? 0.78 : hovered ? 1.12 : 1.0;
    const auto channel = [f](double base) { return BYTE(std::clamp(int(base * f), 0, 255)); };
    const Gdiplus::SolidBrush processFill(Gdiplus::Color(255, channel(192), channel(48),
                                                         pressed   ? 0x20
                                                         : hovered ? 0x2F
                                                                   : 0x2A));
    const Gdiplus::Pen processOutline(Gdiplus::Color(pressed ? 0xBCFFD6D2 : 0x94E23831),
                                      pressed ? 1.4f : 1.1f);
    const Gdiplus::RectF process = PageRectF(layout.process);
    PaintRoundedRect(graphics, InsetRectF(process, 0.5f), 0.48f * process.Height, &processFill,
                     &processOutline);
    DrawControlText(graphics, state.processLabel.c_str(),
                    ControlFont{18.0f, Gdiplus::FontStyleBold}, 0xF4FFF6F4, process);
}

void CTransportSurfaceViewportWnd::OnPaint()
{
    PaintDoubleBuffered(*this,
                        [this](Gdiplus::Graphics& graphics, const RECT& client)
                        {
                            State state = GetState();
                            state.size = CSize(client.right, client.bottom);
                            Draw(graphics, state);
                        });
}

void CTransportSurfaceViewportWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    RepaintWhole(*this);
}

void CTransportSurfaceViewportWnd::OnMouseMove(UINT, CPoint point)
{
    const int hit = HitTest(point);
    if (hit != hoverButton)
    {
        hoverButton = hit;
        RepaintWhole(*this);
    }
    // Leave requests are one-shot, so every move renews it.
    RequestMouseLeave(*this);
}

void CTransportSurfaceViewportWnd::OnLButtonDown(UINT, CPoint point)
{
    const int hit = HitTest(point);
    if (hit == kTransportNone)
    {
        return;
    }
    pressedButton = hit;
    SetCapture();
    RepaintWhole(*this);
}

void CTransportSurfaceViewportWnd::OnLButtonUp(UINT, CPoint point)
{
    const int pressed = pressedButton;
    // Cleared first: the capture's loss reaches OnCaptureChanged at once.
    pressedButton = kTransportNone;
    if (pressed != kTransportNone)
    {
        ReleaseMouseHeldBy(*this);
        if (HitTest(point) == pressed)
        {
            if (pressed == kTransportIn || pressed == kTransportOut)
            {
                monitorSource = pressed == kTransportIn;
            }
            TransportButtonNotify notify;
            notify.button = pressed;
            notify.monitorSource = monitorSource;
            SendToParent(*this, WMU_TRANSPORT_BUTTON, notify);
        }
    }
    // A parent that destroyed the strip while handling the click leaves no
    // window to repaint; RepaintWhole checks.
    RepaintWhole(*this);
}

void CTransportSurfaceViewportWnd::OnCaptureChanged(CWnd*)
{
    pressedButton = kTransportNone;
    RepaintWhole(*this);
}

void CTransportSurfaceViewportWnd::OnMouseLeave()
{
    if (hoverButton != kTransportNone)
    {
        hoverButton = kTransportNone;
        RepaintWhole(*this);
    }
}
