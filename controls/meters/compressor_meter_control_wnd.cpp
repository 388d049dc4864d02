#include "controls/meters/compressor_meter_control_wnd.h"

#include "controls/base/accent_shade.h"
#include "controls/base/client_state.h"
#include "controls/base/control_text.h"
#include "controls/base/painting_helpers.h"
#include "controls/meters/meter_scales.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CCompressorMeterControlWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CCompressorMeterControlWnd, CBaseControlWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace
{

using Gdiplus::REAL;

constexpr double kFullScaleDb = 12.0;

// The bar's height for `db` of reduction; an unusable number shows none.
double BarHeight(float db, double trackHeight)
{
    const double reduction = std::isfinite(db) ? std::max(0.0f, db) : 0.0;
    return std::min(kFullScaleDb, reduction) / kFullScaleDb * trackHeight;
}

} // namespace

CCompressorMeterControlWnd::CCompressorMeterControlWnd()
{
    kindName = "compressor meter";
    gridSpanX = 1;
    gridSpanY = 6;
    drawBorder = false;
    drawBackground = false;
}

CCompressorMeterControlWnd::State CCompressorMeterControlWnd::GetState() const
{
    State state = ClientStateOf<State>(*this);
    state.peakGainReductionDb = peakGainReductionDb;
    state.gainReductionDb = gainReductionDb;
    state.playing = playing;
    return state;
}

BOOL CCompressorMeterControlWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_ARROW, false);
}

void CCompressorMeterControlWnd::SetBackgroundColor(COLORREF color)
{
    CBaseControlWnd::SetBackgroundColor(color);
}

float CCompressorMeterControlWnd::GainReductionAtCursor() const
{
    return GainReductionAt(buffer, cursorSec);
}

void CCompressorMeterControlWnd::OnPaint()
{
    PaintBuffered(*this,
                  [this](Gdiplus::Graphics& graphics, const RECT& client)
                  {
                      State state = GetState();
                      state.size = CSize(client.right, client.bottom);
                      Draw(graphics, state);
                  });
}

void CCompressorMeterControlWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    graphics.Clear(Gdiplus::Color(0xFF0D0E12));
    const int width = state.size.cx;
    const int height = state.size.cy;
    const int barWidth = width - 24;
    const int barHeight = height - 26;
    const int scaleRight = width - 20;
    if (barHeight <= 4 || barWidth <= 2)
    {
        return; // no room for the track: the face alone
    }

    const Gdiplus::RectF track(4, 4, REAL(barWidth), REAL(barHeight));
    const Gdiplus::SolidBrush trackFill(Gdiplus::Color(0xFF12161C));
    graphics.FillRectangle(&trackFill, track);
    const Gdiplus::Pen trackEdge(Gdiplus::Color(0x2EC8D2DC), 1.0f);
    graphics.DrawRectangle(&trackEdge, track);

    const COLORREF accent = state.snapshot.accentColor;
    const double peak = BarHeight(state.peakGainReductionDb, barHeight);
    if (peak > 0.5)
    {
        const Gdiplus::SolidBrush peakFill(AccentShade(accent, 0x32, 1.0, ChannelRounding::Round));
        graphics.FillRectangle(&peakFill, 5.0f, 5.0f, REAL(barWidth - 2), REAL(peak - 1));
    }
    const double reading = BarHeight(state.gainReductionDb, barHeight);
    if (reading > 0.5)
    {
        const BYTE alpha = state.playing ? 210 : 150;
        const Gdiplus::Color top = AccentShade(accent, alpha, 1.0, ChannelRounding::Round);
        const Gdiplus::Color bottom(BYTE(3 * alpha / 4), BYTE(top.GetR() / 2), BYTE(top.GetG() / 2),
                                    BYTE(top.GetB() / 2));
        const Gdiplus::LinearGradientBrush fill(Gdiplus::PointF(4, 4),
                                                Gdiplus::PointF(4, REAL(reading + 4)), top, bottom);
        graphics.FillRectangle(&fill, 5.0f, 5.0f, REAL(barWidth - 2), REAL(reading - 1));
    }

    const Gdiplus::Pen scalePen(Gdiplus::Color(0x3CBEC3C8), 1.0f);
    for (const int k : {3, 6, 9, 12})
    {
        const REAL y = REAL(k * barHeight / 12 + 4);
        graphics.DrawLine(&scalePen, 4.0f, y, REAL(scaleRight), y);
        CString text;
        text.Format(L"-%d", k);
        DrawControlTextAt(graphics, text, {8}, 0x8CBEC3C8,
                          Gdiplus::PointF(REAL(scaleRight + 2), y - 6));
    }

    const float db = std::isfinite(state.gainReductionDb) ? state.gainReductionDb : 0.0f;
    CString readout(L"0");
    if (db >= 0.05f)
    {
        readout.Format(L"%.1f", -double(db));
    }
    DrawControlTextAt(graphics, readout, {9, Gdiplus::FontStyleBold}, 0xC8DCE0E6,
                      Gdiplus::PointF(4, REAL(height - 16)));
}
