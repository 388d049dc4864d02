#include "controls/meters/needle_meter_wnd.h"

#include "controls/base/accent_shade.h"
#include "controls/base/client_state.h"
#include "controls/base/control_text.h"
#include "controls/base/painting_helpers.h"
#include "controls/meters/meter_scales.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <numbers>

IMPLEMENT_DYNAMIC(CNeedleMeterWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CNeedleMeterWnd, CBaseControlWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace
{

using Gdiplus::REAL;

constexpr double kTicks[] = {-20, -15, -10, -5, 0, 3, 6};

// The point at `radius` from the centre on the dial's angle of `position`.
Gdiplus::PointF OnDial(double cx, double cy, double radius, double position)
{
    const double angle = NeedleAngleDegrees(position) * std::numbers::pi / 180.0;
    return Gdiplus::PointF(REAL(cx + radius * std::cos(angle)),
                           REAL(cy + radius * std::sin(angle)));
}

void RoundCaps(Gdiplus::Pen& pen)
{
    pen.SetStartCap(Gdiplus::LineCapRound);
    pen.SetEndCap(Gdiplus::LineCapRound);
}

} // namespace

CNeedleMeterWnd::CNeedleMeterWnd()
{
    kindName = "needle meter";
    gridSpanX = 4;
    gridSpanY = 4;
    label = L"Meter";
    displayMin = -20.0;
    displayMax = 3.0;
    displayDecimals = 1;
    displaySuffix = L" dB";
}

CNeedleMeterWnd::State CNeedleMeterWnd::GetState() const
{
    State state = ClientStateOf<State>(*this);
    state.displayMin = displayMin;
    state.displayMax = displayMax;
    return state;
}

void CNeedleMeterWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawNeedleMeter(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot,
                    state.displayMin, state.displayMax);
}

BOOL CNeedleMeterWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_ARROW, false);
}

void CNeedleMeterWnd::OnPaint()
{
    PaintControl(*this, &PaintNeedleMeterBackground);
}

void PaintNeedleMeterBackground(Gdiplus::Graphics& graphics, const RECT& rect,
                                const ControlDrawState& state)
{
    PaintBackdrop(graphics, rect, state, {0xFF0D0F12, 0xFF13161B, 0x16FFFFFF});
}

void DrawNeedleMeter(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state,
                     double min, double max)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int outer = std::min(width - 28, height - 66) / 2;
    const double cx = width / 2;
    const double cy = outer + 26;
    const double r = outer - 10;

    if (r > 0)
    {
        const Gdiplus::RectF dial(REAL(cx - r), REAL(cy - r), REAL(2 * r), REAL(2 * r));
        Gdiplus::Pen track(Gdiplus::Color(0x466E747C), 8);
        RoundCaps(track);
        graphics.DrawArc(&track, dial, 155, 230);
        Gdiplus::Pen hot(AccentShade(state.accentColor, 0xA8, 1.0, ChannelRounding::Round), 8);
        RoundCaps(hot);
        graphics.DrawArc(&hot, dial, 351, 34);

        const Gdiplus::Pen tickPen(Gdiplus::Color(0x3CACB2BA), 1.0f);
        for (const double tick : kTicks)
        {
            if (tick < min || tick > max)
            {
                continue;
            }
            const double p = NeedleTickPosition(tick, min, max);
            graphics.DrawLine(&tickPen, OnDial(cx, cy, r - 6, p), OnDial(cx, cy, r + 12, p));
            const Gdiplus::PointF at = OnDial(cx, cy, r + 18, p);
            wchar_t text[32];
            std::swprintf(text, 32, L"%.0f", tick);
            DrawControlText(graphics, text, {8}, 0x96A8AEB6,
                            Gdiplus::RectF(at.X - 12, at.Y - 7, 24, 14));
        }

        const double p = std::isnan(state.value) ? 0.0 : std::clamp(state.value, 0.0, 1.0);
        const Gdiplus::PointF tip = OnDial(cx, cy, 0.84 * r, p);
        Gdiplus::Pen shadow(Gdiplus::Color(0x54000000), 5);
        RoundCaps(shadow);
        graphics.DrawLine(&shadow, REAL(cx + 1), REAL(cy + 2), tip.X + 1, tip.Y + 2);
        Gdiplus::Pen needle(Gdiplus::Color(0xF0F7ECD2), 3.4f);
        RoundCaps(needle);
        graphics.DrawLine(&needle, REAL(cx), REAL(cy), tip.X, tip.Y);

        const double hub = 0.16 * outer;
        const Gdiplus::SolidBrush hubFill(Gdiplus::Color(0xFF1C1F25));
        const Gdiplus::Pen hubEdge(Gdiplus::Color(0x46FFFFFF), 1.0f);
        const Gdiplus::RectF hubBox(REAL(cx - hub), REAL(cy - hub), REAL(2 * hub), REAL(2 * hub));
        graphics.FillEllipse(&hubFill, hubBox);
        graphics.DrawEllipse(&hubEdge, hubBox);
        const double ring = 0.58 * hub;
        const Gdiplus::Pen ringPen(Gdiplus::Color(0x30FFFFFF), 1.0f);
        graphics.DrawEllipse(&ringPen, REAL(cx - ring), REAL(cy - ring), REAL(2 * ring),
                             REAL(2 * ring));
        const Gdiplus::SolidBrush dot(
            AccentShade(state.accentColor, 0xD2, 1.08, ChannelRounding::Round));
        graphics.FillEllipse(&dot, REAL(cx - 3), REAL(cy - 3), 6.0f, 6.0f);
    }

    DrawControlText(graphics, state.label, {10, Gdiplus::FontStyleBold}, 0xD6E8E4DC,
                    Gdiplus::RectF(10, REAL(height - 42), REAL(width - 20), 18));
    DrawControlText(graphics, state.valueText, {18, Gdiplus::FontStyleBold}, 0xEAF2EEE8,
                    Gdiplus::RectF(10, REAL(height - 26), REAL(width - 20), 24));
}
