#include "controls/displays/panel_light_wnd.h"

#include "controls/base/client_state.h"
#include "controls/base/painting_helpers.h"
#include "controls/displays/display_text.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CPanelLightWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CPanelLightWnd, CBaseControlWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace
{

using Gdiplus::REAL;

Gdiplus::Color WithAlpha(int alpha, const RgbBytes& rgb)
{
    return Gdiplus::Color(BYTE(std::clamp(alpha, 0, 255)), rgb.red, rgb.green, rgb.blue);
}

} // namespace

CPanelLightWnd::CPanelLightWnd()
{
    kindName = "panel light";
    label = L"";
    displaySuffix = L"";
    displayMin = 0.0;
    displayMax = 1.0;
}

CPanelLightWnd::State CPanelLightWnd::GetState() const
{
    State state = ClientStateOf<State>(*this);
    return state;
}

void CPanelLightWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawPanelLight(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot);
}

BOOL CPanelLightWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_ARROW, false);
}

void CPanelLightWnd::OnPaint()
{
    PaintControl(*this, &PaintPanelLightBackground);
}

void PaintPanelLightBackground(Gdiplus::Graphics& graphics, const RECT& rect,
                               const ControlDrawState& state)
{
    PaintBackdrop(graphics, rect, state, {0xFF0E1013, 0xFF13161B, 0x14FFFFFF});
}

void FillRadialEllipse(Gdiplus::Graphics& graphics, REAL cx, REAL cy, REAL radius,
                       const Gdiplus::Color& centre, const Gdiplus::Color& rim)
{
    if (!(radius > 0))
    {
        return;
    }
    Gdiplus::GraphicsPath circle;
    circle.AddEllipse(cx - radius, cy - radius, 2 * radius, 2 * radius);
    Gdiplus::PathGradientBrush brush(&circle);
    brush.SetCenterPoint(Gdiplus::PointF(cx, cy));
    brush.SetCenterColor(centre);
    Gdiplus::Color surround = rim;
    int one = 1;
    brush.SetSurroundColors(&surround, &one);
    graphics.FillPath(&brush, &circle);
}

void DrawPanelLight(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state)
{
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintSystemDefault);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    graphics.SetClip(Gdiplus::RectF(0, 0, REAL(width), REAL(height)));

    const double v = std::isnan(state.value) ? 0.0 : std::clamp(state.value, 0.0, 1.0);
    const REAL cx = REAL(width / 2);
    const REAL cy = REAL(height / 2);
    const REAL shorter = REAL(std::min(width, height));
    const REAL m = 0.34f * shorter;
    const REAL u = 0.68f * m;
    const REAL well = 0.82f * m;
    const PanelLightColors colours = PanelLightColorsOf(state.accentColor, v);
    const auto scaled = [v](double k) { return int(std::trunc(k * v)); };

    if (scaled(28) > 2)
    {
        FillRadialEllipse(graphics, cx, cy, 0.47f * shorter, WithAlpha(scaled(28), colours.bright),
                          WithAlpha(0, colours.bright));
    }
    FillRadialEllipse(graphics, cx, cy + 0.22f * m, 1.08f * m, Gdiplus::Color(0x56000000),
                      Gdiplus::Color(0x00000000));
    if (m > 0)
    {
        const Gdiplus::LinearGradientBrush bezel(
            Gdiplus::PointF(cx - m, cy - m), Gdiplus::PointF(cx + m, cy + m),
            Gdiplus::Color(0xFF3A3E46), Gdiplus::Color(0xFF14161A));
        graphics.FillEllipse(&bezel, cx - m, cy - m, 2 * m, 2 * m);
        const Gdiplus::Pen highlight(Gdiplus::Color(0x46FFFFFF), 1.1f);
        graphics.DrawEllipse(&highlight, cx - m + 0.6f, cy - m + 0.6f, 2 * m - 1.2f, 2 * m - 1.2f);
        const Gdiplus::Pen inner(Gdiplus::Color(0x64000000), 1.0f);
        graphics.DrawEllipse(&inner, cx - m + 1.2f, cy - m + 1.2f, 2 * m - 2.4f, 2 * m - 2.4f);
        const Gdiplus::LinearGradientBrush wellFill(
            Gdiplus::PointF(cx, cy - well), Gdiplus::PointF(cx, cy + well),
            Gdiplus::Color(0xFF07080A), Gdiplus::Color(0xFF030405));
        graphics.FillEllipse(&wellFill, cx - well, cy - well, 2 * well, 2 * well);
    }

    const RgbBytes& dark = colours.dark;
    const RgbBytes& bright = colours.bright;
    const RgbBytes lens{BYTE(dark.red + std::trunc((bright.red - dark.red) * v)),
                        BYTE(dark.green + std::trunc((bright.green - dark.green) * v)),
                        BYTE(dark.blue + std::trunc((bright.blue - dark.blue) * v))};
    FillRadialEllipse(graphics, cx, cy + 0.1f * u, u, WithAlpha(255, lens),
                      WithAlpha(48 + scaled(160), dark));
    if (scaled(190) > 4)
    {
        FillRadialEllipse(graphics, cx, cy, 1.55f * m, WithAlpha(scaled(190), bright),
                          WithAlpha(0, bright));
    }
    if (scaled(255) > 4)
    {
        FillRadialEllipse(graphics, cx, cy, 0.52f * u, WithAlpha(scaled(255), colours.hot),
                          WithAlpha(0, colours.hot));
    }
    if (u > 0)
    {
        const Gdiplus::Pen rim(Gdiplus::Color(BYTE(38 + scaled(52)), 255, 255, 255), 0.8f);
        graphics.DrawEllipse(&rim, cx - u, cy - u, 2 * u, 2 * u);
        FillRadialEllipse(graphics, cx - 0.28f * u, cy - 0.44f * u, 0.23f * u,
                          Gdiplus::Color(BYTE(52 + scaled(72)), 0xFF, 0xFC, 0xF4),
                          Gdiplus::Color(0x00FFFCF4));
        const Gdiplus::SolidBrush glint(Gdiplus::Color(BYTE(60 + scaled(80)), 0xFF, 0xFD, 0xF8));
        graphics.FillEllipse(&glint, cx - 0.43f * u, cy - 0.536f * u, 0.3f * u, 0.16f * u);
    }
    graphics.ResetClip();
}
