#include "controls/graphs/correlation_meter_wnd.h"

#include "controls/base/client_state.h"
#include "controls/graphs/graph_window.h"
#include "controls/base/control_text.h"
#include "controls/graphs/graph_feed.h"
#include "controls/graphs/graph_look.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

IMPLEMENT_DYNAMIC(CCorrelationMeterWnd, CWnd)

BEGIN_MESSAGE_MAP(CCorrelationMeterWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

namespace
{

using Gdiplus::REAL;

constexpr std::size_t kLeastFrames = 64;
constexpr double kSilence = 1e-12;

Gdiplus::ARGB ValueColour(double correlation)
{
    if (correlation < 0)
    {
        return 0xE6FF7070;
    }
    return correlation < 0.35 ? 0xE6FFC278 : 0xE6A2E484;
}

} // namespace

double CorrelationAt(const AudioBuffer& audio, double cursorSec, double windowSec)
{
    if (!HasAudio(audio))
    {
        return 1.0;
    }
    const FrameRange range =
        CentredWindow(audio, cursorSec, WindowFrames(audio, windowSec, kLeastFrames));
    if (range.begin >= range.end)
    {
        return 1.0;
    }
    double sumLL = 0.0;
    double sumRR = 0.0;
    double sumLR = 0.0;
    for (std::size_t frame = range.begin; frame < range.end; ++frame)
    {
        const double left = Finite(audio.samples[2 * frame]);
        const double right = Finite(audio.samples[2 * frame + 1]);
        sumLL += left * left;
        sumRR += right * right;
        sumLR += left * right;
    }
    if (sumLL <= kSilence || sumRR <= kSilence)
    {
        return 1.0; // a silent channel has no phase to compare
    }
    const double norm = std::sqrt(sumLL * sumRR);
    if (!(norm > kSilence))
    {
        return 1.0;
    }
    return std::clamp(sumLR / norm, -1.0, 1.0);
}

BOOL CCorrelationMeterWnd::Create(CWnd* parent, const RECT& rect, UINT id)
{
    return CreateGraphWindow(*this, parent, rect, id, L"BrimvaleCorrelationMeterWnd");
}

double CCorrelationMeterWnd::ComputeCorrelation() const
{
    return CorrelationAt(audio, cursorSec, windowSec);
}

void CCorrelationMeterWnd::FeedChanged()
{
    correlation = ComputeCorrelation();
}

CCorrelationMeterWnd::State CCorrelationMeterWnd::GetState() const
{
    State state;
    state.size = ClientSizeOf(*this);
    state.correlation = correlation;
    state.playing = playing;
    return state;
}

void CCorrelationMeterWnd::OnPaint()
{
    PaintGraph(*this);
}

void CCorrelationMeterWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    PaintGraphBackground(graphics, RECT{0, 0, state.size.cx, state.size.cy});
    DrawGraphTitle(graphics, L"Correlation", Gdiplus::PointF(18, 10));
    wchar_t reading[32];
    std::swprintf(reading, 32, L"%.2f", state.correlation);
    DrawControlTextAt(graphics, reading, {16, Gdiplus::FontStyleBold}, 0xE8F0F4F8,
                      Gdiplus::PointF(18, 26));

    const int width = std::max(state.size.cx - 36, 120);
    const Gdiplus::SolidBrush track(Gdiplus::Color(0xFF14181E));
    graphics.FillRectangle(&track, 18.0f, 70.0f, REAL(width), 16.0f);
    const Gdiplus::Pen trackEdge(Gdiplus::Color(0x2EF0F4F8), 1.0f);
    graphics.DrawRectangle(&trackEdge, 18.0f, 70.0f, REAL(width), 16.0f);

    const REAL centre = REAL(18 + width / 2);
    const Gdiplus::Pen centreMark(Gdiplus::Color(0x46EC9C62), 1.0f);
    graphics.DrawLine(&centreMark, centre, 64.0f, centre, 92.0f);

    const Gdiplus::Color colour(ValueColour(state.correlation));
    const REAL marker = REAL(18 + width * (state.correlation + 1) / 2);
    if (std::fabs(marker - centre) > 0.5f)
    {
        const Gdiplus::SolidBrush fill(Gdiplus::Color(state.playing ? 0x40 : 0x26, colour.GetR(),
                                                      colour.GetG(), colour.GetB()));
        graphics.FillRectangle(&fill, std::min(marker, centre), 70.0f, std::fabs(marker - centre),
                               16.0f);
    }
    const Gdiplus::Pen markerPen(colour, 2.0f);
    graphics.DrawLine(&markerPen, marker, 68.0f, marker, 88.0f);

    DrawGraphSmallText(graphics, L"-1", Gdiplus::PointF(18, 90));
    DrawGraphSmallText(graphics, L"0", Gdiplus::PointF(centre - 3, 90));
    DrawGraphSmallText(graphics, L"+1", Gdiplus::PointF(REAL(18 + width - 14), 90));
}
