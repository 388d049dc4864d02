#include "controls/graphs/peak_symmetry_graph_wnd.h"

#include "controls/base/client_state.h"
#include "controls/graphs/graph_window.h"
#include "controls/graphs/graph_feed.h"
#include "controls/graphs/graph_look.h"
#include "platform/gdiplus/gdiplus.h"

#include <algorithm>
#include <cwchar>

IMPLEMENT_DYNAMIC(CPeakSymmetryGraphWnd, CWnd)

BEGIN_MESSAGE_MAP(CPeakSymmetryGraphWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

namespace
{

using Gdiplus::REAL;

constexpr std::size_t kLeastFrames = 256;
constexpr double kSilentPeak = 1e-5;
constexpr Gdiplus::ARGB kPositive = 0xD6FF7C7C;
constexpr Gdiplus::ARGB kNegative = 0xD666D2FF;

double Largest(const std::vector<double>& values)
{
    return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

void DrawTrace(Gdiplus::Graphics& graphics, const std::vector<Gdiplus::PointF>& points,
               Gdiplus::ARGB colour)
{
    if (points.size() >= 2)
    {
        const Gdiplus::Pen pen{Gdiplus::Color(colour), 1.6f};
        graphics.DrawCurve(&pen, points.data(), int(points.size()), 0.28f);
    }
}

} // namespace

PeakColumns PeakSymmetryColumns(const AudioBuffer& audio, double cursorSec, double windowSec,
                                int plotWidth)
{
    PeakColumns columns;
    if (!HasAudio(audio))
    {
        return columns;
    }
    const std::size_t frames = WindowFrames(audio, windowSec, kLeastFrames);
    const FrameRange range = SymmetricWindow(audio, cursorSec, frames / 2);
    // The window holds every frame from its first to its last.
    const std::size_t n = std::max<std::size_t>(range.size(), 1);
    const std::size_t count =
        std::min<std::size_t>(n, std::max<std::size_t>(24, std::max(plotWidth, 0) / 4));
    columns.posPeak.assign(count, 0.0);
    columns.negPeak.assign(count, 0.0);
    for (std::size_t j = 0; j < range.size(); ++j)
    {
        const std::size_t frame = range.begin + j;
        const std::size_t k = j * count / n;
        const double mid =
            (Finite(audio.samples[2 * frame]) + Finite(audio.samples[2 * frame + 1])) / 2;
        columns.posPeak[k] = std::max(columns.posPeak[k], std::max(mid, 0.0));
        columns.negPeak[k] = std::max(columns.negPeak[k], std::max(-mid, 0.0));
    }
    return columns;
}

double PeakAsymmetry(const PeakColumns& columns)
{
    const double positive = Largest(columns.posPeak);
    const double negative = Largest(columns.negPeak);
    return positive + negative > 1e-6 ? (positive - negative) / (positive + negative) : 0.0;
}

BOOL CPeakSymmetryGraphWnd::Create(CWnd* parent, const RECT& rect, UINT id)
{
    return CreateGraphWindow(*this, parent, rect, id, L"BrimvalePeakSymmetryGraphWnd");
}

CPeakSymmetryGraphWnd::State CPeakSymmetryGraphWnd::GetState() const
{
    State state;
    state.size = ClientSizeOf(*this);
    state.windowSec = windowSec;
    state.hasAudio = HasAudio(audio);
    const PeakColumns columns =
        PeakSymmetryColumns(audio, cursorSec, windowSec, state.size.cx - 36);
    state.posPeak = columns.posPeak;
    state.negPeak = columns.negPeak;
    return state;
}

void CPeakSymmetryGraphWnd::OnPaint()
{
    PaintGraph(*this);
}

void CPeakSymmetryGraphWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    const int right = state.size.cx;
    const int bottom = state.size.cy;
    PaintGraphBackground(graphics, RECT{0, 0, right, bottom});
    wchar_t title[64];
    std::swprintf(title, 64, L"Peak Symmetry  %.0f ms", state.windowSec * 1000);
    DrawGraphTitle(graphics, title, Gdiplus::PointF(18, 10));

    const Gdiplus::Pen positiveLegend(Gdiplus::Color(kPositive), 1.6f);
    graphics.DrawLine(&positiveLegend, 18.0f, 31.0f, 32.0f, 31.0f);
    DrawGraphSmallText(graphics, L"+ Peaks", Gdiplus::PointF(37, 25));
    const Gdiplus::Pen negativeLegend(Gdiplus::Color(kNegative), 1.6f);
    graphics.DrawLine(&negativeLegend, 18.0f, 43.0f, 32.0f, 43.0f);
    DrawGraphSmallText(graphics, L"- Peaks", Gdiplus::PointF(37, 37));

    const int plotWidth = (right - 18) - 18;
    const int plotHeight = (bottom - 18) - 54;
    const REAL middle = REAL((bottom + 36) / 2);
    const Gdiplus::Pen frame(Gdiplus::Color(kGraphPlotFrame), 1.0f);
    graphics.DrawRectangle(&frame, 18.0f, 54.0f, REAL(plotWidth), REAL(plotHeight));
    const Gdiplus::Pen guide(Gdiplus::Color(kGraphGuide), 1.0f);
    graphics.DrawLine(&guide, 18.0f, middle, REAL(right - 18), middle);
    if (!state.hasAudio || state.posPeak.empty())
    {
        return;
    }

    const PeakColumns columns{state.posPeak, state.negPeak};
    double peak = std::max(Largest(columns.posPeak), Largest(columns.negPeak));
    if (peak < kSilentPeak)
    {
        peak = 1.0;
    }
    const std::size_t count = columns.posPeak.size();
    std::vector<Gdiplus::PointF> upper;
    std::vector<Gdiplus::PointF> lower;
    for (std::size_t i = 0; i < count; ++i)
    {
        const REAL x = count == 1 ? 18.0f : REAL(18 + double(i) / double(count - 1) * plotWidth);
        upper.emplace_back(x, REAL(middle - columns.posPeak[i] / peak * 0.44 * plotHeight));
        lower.emplace_back(x, REAL(middle + columns.negPeak[i] / peak * 0.44 * plotHeight));
    }
    DrawTrace(graphics, upper, kPositive);
    DrawTrace(graphics, lower, kNegative);

    wchar_t readout[48];
    std::swprintf(readout, 48, L"Asymmetry %.2f", PeakAsymmetry(columns));
    DrawGraphSmallText(graphics, readout, Gdiplus::PointF(18, REAL(bottom - 33)));
}
