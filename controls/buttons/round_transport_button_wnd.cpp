#include "controls/buttons/round_transport_button_wnd.h"

#include "controls/base/accent_shade.h"
#include "controls/base/client_state.h"
#include "controls/base/painting_helpers.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CRoundTransportButtonWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CRoundTransportButtonWnd, CPushButtonControl)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_CAPTURECHANGED()
ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

namespace
{

using Gdiplus::REAL;

} // namespace

CRoundTransportButtonWnd::CRoundTransportButtonWnd()
{
    kindName = "round transport";
    gridSpanX = 2;
    gridSpanY = 2;
    textValue = L"play";
    displaySuffix = L"";
    displayMax = 1.0;
}

CRoundTransportButtonWnd::State CRoundTransportButtonWnd::GetState() const
{
    State state = ClientStateOf<State>(*this);
    state.glyph = glyph;
    return state;
}

void CRoundTransportButtonWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawRoundTransportButton(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot,
                             state.glyph);
}

BOOL CRoundTransportButtonWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_HAND, false);
}

void CRoundTransportButtonWnd::ApplyItem(const ControlItem& item)
{
    CBaseControlWnd::ApplyItem(item);
    FollowText();
}

void CRoundTransportButtonWnd::SetTextValue(const CString& text)
{
    CBaseControlWnd::SetTextValue(text);
    FollowText();
}

void CRoundTransportButtonWnd::FollowText()
{
    const int parsed = ParseTransportGlyph(GetTextValue());
    if (parsed != glyph)
    {
        glyph = parsed;
        Repaint();
    }
}

bool CRoundTransportButtonWnd::InHitArea(CPoint point) const
{
    CRect client;
    GetClientRect(&client);
    return client.PtInRect(point) != FALSE;
}

void CRoundTransportButtonWnd::OnPaint()
{
    PaintControl(*this, &PaintRoundTransportBackground);
}

int ParseTransportGlyph(const CString& text)
{
    CString word = text;
    word.Trim();
    word.MakeLower();
    if (word == L"pause" || word == L"ii")
    {
        return CRoundTransportButtonWnd::kPause;
    }
    if (word == L"stop" || word == L"square")
    {
        return CRoundTransportButtonWnd::kStop;
    }
    return CRoundTransportButtonWnd::kPlay;
}

void PaintRoundTransportBackground(Gdiplus::Graphics& graphics, const RECT& rect,
                                   const ControlDrawState& state)
{
    PaintBackdrop(graphics, rect, state, {0xFF0D0F12, 0xFF12151A, 0x16FFFFFF});
}

void DrawRoundTransportButton(Gdiplus::Graphics& graphics, const RECT& rect,
                              const ControlDrawState& state, const int& glyph)
{
    const double width = rect.right - rect.left;
    const double height = rect.bottom - rect.top;
    const double diameter = std::min(width, height) - 8;
    const double x0 = rect.left + (width - diameter) * 0.5;
    const double y0 = rect.top + (height - diameter) * 0.5;
    const double core = diameter - 16;
    const COLORREF accent = state.accentColor;

    Gdiplus::GraphicsPath halo;
    halo.AddEllipse(REAL(x0 - 8), REAL(y0 - 8), REAL(diameter + 16), REAL(diameter + 16));
    Gdiplus::PathGradientBrush haloBrush(&halo);
    haloBrush.SetCenterPoint(Gdiplus::PointF(REAL(x0 + diameter / 2), REAL(y0 + diameter / 2)));
    haloBrush.SetCenterColor(AccentShade(accent,
                                         state.pressed ? 0x36
                                         : state.hover ? 0x22
                                                       : 0x0C,
                                         1.0, ChannelRounding::Round));
    Gdiplus::Color surround = AccentShade(accent, 0, 1.0, ChannelRounding::Round);
    int one = 1;
    haloBrush.SetSurroundColors(&surround, &one);
    graphics.FillPath(&haloBrush, &halo);

    const Gdiplus::SolidBrush shadow(Gdiplus::Color(0x36000000));
    graphics.FillEllipse(&shadow, REAL(x0), REAL(y0 + 2), REAL(diameter), REAL(diameter));
    const Gdiplus::SolidBrush rim(Gdiplus::Color(0x4EFFFFFF));
    graphics.FillEllipse(&rim, REAL(x0), REAL(y0), REAL(diameter), REAL(diameter));

    const Gdiplus::LinearGradientBrush body(
        Gdiplus::PointF(REAL(std::trunc(x0 + 2)), REAL(std::trunc(y0 + 2))),
        Gdiplus::PointF(REAL(std::trunc(x0 + 2)), REAL(std::trunc(y0 + diameter - 2))),
        Gdiplus::Color(state.pressed ? 0xFF1E2228 : 0xFF3E4248),
        Gdiplus::Color(state.pressed ? 0xFF0C0E12 : 0xFF181B20));
    graphics.FillEllipse(&body, REAL(x0 + 2), REAL(y0 + 2), REAL(diameter - 4), REAL(diameter - 4));

    const double lit = state.pressed ? 0.72 : state.hover ? 1.02 : 0.44;
    const double shade = state.pressed ? 0.46 : state.hover ? 0.72 : 0.22;
    const Gdiplus::RectF coreBox(REAL(x0 + 8), REAL(y0 + 8), REAL(core), REAL(core));
    if (core > 0)
    {
        const Gdiplus::LinearGradientBrush coreFill(
            Gdiplus::PointF(coreBox.X, coreBox.Y),
            Gdiplus::PointF(coreBox.X, coreBox.Y + coreBox.Height), AccentShade(accent, 0xFF, lit),
            AccentShade(accent, 0xFF, shade));
        graphics.FillEllipse(&coreFill, coreBox);
        const Gdiplus::SolidBrush gloss(Gdiplus::Color(0x22FFFAF4));
        graphics.FillEllipse(&gloss, REAL(x0 + 8 + 0.18 * core), REAL(y0 + 8 + 0.10 * core),
                             REAL(0.44 * core), REAL(0.22 * core));
    }
    const Gdiplus::Pen rimLine(Gdiplus::Color(0x44FFFFFF), 1.0f);
    graphics.DrawEllipse(&rimLine, REAL(x0 + 2), REAL(y0 + 2), REAL(diameter - 4),
                         REAL(diameter - 4));
    if (core > 0)
    {
        DrawTransportGlyph(graphics, coreBox, glyph, state.pressed ? 0xF5FFF7EC : 0xF5FAF3E8);
    }
}

void DrawTransportGlyph(Gdiplus::Graphics& graphics, const Gdiplus::RectF& box, int glyph,
                        Gdiplus::ARGB colour)
{
    const Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
    const REAL x = box.X;
    const REAL y = box.Y;
    const REAL w = box.Width;
    const REAL h = box.Height;
    if (glyph == CRoundTransportButtonWnd::kPause)
    {
        const REAL barWidth = 0.16f * w;
        const REAL barHeight = 0.46f * h;
        const REAL top = y + (h - barHeight) * 0.5f;
        const REAL first = x + 0.28f * w;
        graphics.FillRectangle(&brush, first, top, barWidth, barHeight);
        graphics.FillRectangle(&brush, first + barWidth + 0.14f * w, top, barWidth, barHeight);
        return;
    }
    if (glyph == CRoundTransportButtonWnd::kStop)
    {
        const REAL side = 0.34f * w;
        graphics.FillRectangle(&brush, x + (w - side) * 0.5f, y + (h - side) * 0.5f, side, side);
        return;
    }
    const Gdiplus::PointF triangle[] = {{x + 0.35f * w, y + 0.25f * h},
                                        {x + 0.35f * w, y + 0.75f * h},
                                        {x + 0.73f * w, y + 0.5f * h}};
    graphics.FillPolygon(&brush, triangle, 3);
}
