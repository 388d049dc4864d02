#include "controls/graphs/stereo_field_graph_wnd.h"

#include "controls/base/client_state.h"
#include "controls/base/control_text.h"
#include "controls/graphs/graph_feed.h"
#include "controls/graphs/graph_look.h"
#include "controls/graphs/graph_window.h"
#include "platform/gdiplus/gdiplus.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <numbers>
#include <vector>

IMPLEMENT_DYNAMIC(CStereoFieldGraphWnd, CWnd)

BEGIN_MESSAGE_MAP(CStereoFieldGraphWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

namespace
{

using Gdiplus::PointF;
using Gdiplus::REAL;

// The two bands whose balance the needles show, in Hz (Highs has no upper
// edge: both its filters sit at 2400 Hz).
constexpr double kHighsLowHz = 2400;
constexpr double kHighsHighHz = 0;
constexpr double kMidsLowHz = 350;
constexpr double kMidsHighHz = 2400;

constexpr double kSmallestPeak = 0.001;
constexpr REAL kLeastPieDegrees = 4;

struct FieldLook
{
    Gdiplus::ARGB fill;
    Gdiplus::ARGB line;
    REAL lineWidth;
};
constexpr FieldLook kProcessedLook{0x4EEA5476, 0xDAFF5C7E, 1.6f};
constexpr FieldLook kSourceLook{0x483EAEEC, 0xDC48C2FF, 1.4f};

struct IndicatorLook
{
    Gdiplus::ARGB fill;
    Gdiplus::ARGB range;
    Gdiplus::ARGB needle;
};
constexpr IndicatorLook kHighsLook{0x32FFB060, 0xBCFFC278, 0xE4FFE8BC};
constexpr IndicatorLook kMidsLook{0x3260CCA6, 0xD0A2E484, 0xF0D8F4C4};

struct Centre
{
    REAL x;
    REAL y;

    // The point `radius` away in the direction of `radians` (counter-clockwise
    // from the right, the screen's y running down).
    PointF At(double radians, double radius) const
    {
        return PointF(REAL(x + std::cos(radians) * radius), REAL(y - std::sin(radians) * radius));
    }
};

// A balance from -1 (left) to +1 (right) as an angle: left, up, right.
double BalanceRadians(double balance)
{
    return std::numbers::pi - (balance + 1) / 2 * std::numbers::pi;
}

// The same direction in the drawing library's degrees (clockwise from the right).
REAL BalanceDegrees(double balance)
{
    return REAL((balance + 1) * 90 + 180);
}

// A pen whose joins are rounded.
struct RoundPen : Gdiplus::Pen
{
    RoundPen(Gdiplus::ARGB colour, REAL width) : Gdiplus::Pen(Gdiplus::Color(colour), width)
    {
        SetLineJoin(Gdiplus::LineJoinRound);
    }
};

void DrawLegend(Gdiplus::Graphics& graphics)
{
    const Gdiplus::Pen highs(Gdiplus::Color(0xD0FFC278), 1.6f);
    graphics.DrawLine(&highs, 20.0f, 33.0f, 34.0f, 33.0f);
    DrawGraphSmallText(graphics, L"Highs", PointF(39, 28));
    const Gdiplus::Pen mids(Gdiplus::Color(0xD0A2E484), 1.6f);
    graphics.DrawLine(&mids, 20.0f, 45.0f, 34.0f, 45.0f);
    DrawGraphSmallText(graphics, L"Mids", PointF(39, 40));
}

void DrawGrid(Gdiplus::Graphics& graphics, Centre centre, int radius)
{
    const REAL r = REAL(radius);
    const Gdiplus::Pen circle(Gdiplus::Color(0x40C8CED6), 1.2f);
    graphics.DrawArc(&circle, centre.x - r, centre.y - r, 2 * r, 2 * r, 180.0f, 180.0f);
    const Gdiplus::Pen spoke(Gdiplus::Color(kGraphGuide), 1.0f);
    for (const double degrees : {135.0, 45.0, 90.0})
    {
        const PointF end = centre.At(degrees / 180 * std::numbers::pi, r);
        graphics.DrawLine(&spoke, centre.x, centre.y, end.X, end.Y);
    }
    const Gdiplus::Pen base(Gdiplus::Color(0x1CB4BAC4), 1.0f);
    graphics.DrawLine(&base, centre.x - r, centre.y, centre.x + r, centre.y);
    const Gdiplus::SolidBrush dot(Gdiplus::Color(0xDC8EE4FF));
    graphics.FillEllipse(&dot, centre.x - 2, centre.y - 2, 4.0f, 4.0f);
}

void DrawField(Gdiplus::Graphics& graphics, Centre centre, const PolarDistribution& bins,
               double scale, const FieldLook& look)
{
    std::vector<PointF> fan;
    fan.reserve(kStereoFieldBins + 2);
    fan.emplace_back(centre.x, centre.y);
    constexpr double kLast = double(kStereoFieldBins - 1);
    for (std::size_t k = 0; k < kStereoFieldBins; ++k)
    {
        fan.push_back(
            centre.At(std::numbers::pi - double(k) / kLast * std::numbers::pi, bins[k] * scale));
    }
    fan.emplace_back(centre.x, centre.y);
    const Gdiplus::SolidBrush fill(Gdiplus::Color(look.fill));
    graphics.FillPolygon(&fill, fan.data(), int(fan.size()));
    const RoundPen line(look.line, look.lineWidth);
    graphics.DrawLines(&line, fan.data() + 1, int(kStereoFieldBins));
}

void DrawIndicator(Gdiplus::Graphics& graphics, Centre centre,
                   const CStereoFieldGraphWnd::Indicator& indicator, double radius,
                   const IndicatorLook& look)
{
    const REAL r = REAL(radius);
    const REAL loDegrees = BalanceDegrees(indicator.range.min);
    const REAL hiDegrees = BalanceDegrees(indicator.range.max);
    const REAL start = std::min(loDegrees, hiDegrees);
    const REAL sweep = std::max(std::fabs(hiDegrees - loDegrees), kLeastPieDegrees);
    const Gdiplus::RectF circle(centre.x - r, centre.y - r, 2 * r, 2 * r);
    const Gdiplus::SolidBrush fill(Gdiplus::Color(look.fill));
    graphics.FillPie(&fill, circle, start, sweep);

    const RoundPen range(look.range, 1.7f);
    for (const float end : {indicator.range.min, indicator.range.max})
    {
        const PointF tip = centre.At(BalanceRadians(end), radius);
        graphics.DrawLine(&range, centre.x, centre.y, tip.X, tip.Y);
    }
    graphics.DrawArc(&range, circle, start, sweep);

    const RoundPen needle(look.needle, 1.3f);
    const PointF tip = centre.At(BalanceRadians(indicator.mean), radius);
    graphics.DrawLine(&needle, centre.x, centre.y, tip.X, tip.Y);
}

// The needle of one band for this paint, widening what `held` keeps.
CStereoFieldGraphWnd::Indicator IndicatorOf(const AudioBuffer& audio, double cursorSec,
                                            double windowSec, double lowHz, double highHz,
                                            HeldRange held)
{
    CStereoFieldGraphWnd::Indicator indicator;
    const BandBalance balance = StereoBandBalance(audio, cursorSec, windowSec, lowHz, highHz);
    if (balance.valid)
    {
        indicator.shown = true;
        indicator.mean = balance.mean;
        indicator.range = Widened(held, balance.mean);
    }
    return indicator;
}

} // namespace

BOOL CStereoFieldGraphWnd::Create(CWnd* parent, const RECT& rect, UINT id)
{
    return CreateGraphWindow(*this, parent, rect, id, L"BrimvaleStereoFieldGraphWnd");
}

void CStereoFieldGraphWnd::SetSourceAudio(const AudioBuffer& audio)
{
    if (!SameAudio(sourceAudio, audio))
    {
        sourceAudio = audio;
        Repaint();
    }
}

void CStereoFieldGraphWnd::SetProcessedAudio(const AudioBuffer& audio)
{
    if (!SameAudio(processedAudio, audio))
    {
        processedAudio = audio;
        ResetHeldRanges();
        Repaint();
    }
}

void CStereoFieldGraphWnd::SetWindowSeconds(double seconds)
{
    if (!TakeWindowSeconds(windowSec, seconds))
    {
        return;
    }
    ResetHeldRanges();
    Repaint();
}

void CStereoFieldGraphWnd::SetCursor(double seconds)
{
    if (!std::isnan(seconds))
    {
        cursorSec = std::max(0.0, seconds);
        Repaint();
    }
}

void CStereoFieldGraphWnd::SetPlaying(bool play)
{
    playing = play;
    Repaint();
}

void CStereoFieldGraphWnd::ResetHeldRanges()
{
    highsHeld = false;
    highsMin = highsMax = 0.0f;
    midsHeld = false;
    midsMin = midsMax = 0.0f;
}

void CStereoFieldGraphWnd::Repaint()
{
    RepaintGraph(*this);
}

CStereoFieldGraphWnd::State CStereoFieldGraphWnd::GetState() const
{
    State state;
    state.size = ClientSizeOf(*this);
    state.windowSec = windowSec;
    state.hasSource = sourceAudio.samples.size() >= 2;
    state.hasProcessed = processedAudio.samples.size() >= 2;
    state.source = StereoPolarDistribution(sourceAudio, cursorSec, windowSec);
    state.processed = StereoPolarDistribution(processedAudio, cursorSec, windowSec);
    state.highs = IndicatorOf(processedAudio, cursorSec, windowSec, kHighsLowHz, kHighsHighHz,
                              HeldRange{highsHeld, highsMin, highsMax});
    state.mids = IndicatorOf(processedAudio, cursorSec, windowSec, kMidsLowHz, kMidsHighHz,
                             HeldRange{midsHeld, midsMin, midsMax});
    return state;
}

void CStereoFieldGraphWnd::KeepHeldRanges(const State& state)
{
    if (FieldRadius(state.size) <= 20)
    {
        return; // the needles were not drawn
    }
    if (state.highs.shown)
    {
        highsHeld = true;
        highsMin = state.highs.range.min;
        highsMax = state.highs.range.max;
    }
    if (state.mids.shown)
    {
        midsHeld = true;
        midsMin = state.mids.range.min;
        midsMax = state.mids.range.max;
    }
}

void CStereoFieldGraphWnd::OnPaint()
{
    PaintDoubleBuffered(*this,
                        [this](Gdiplus::Graphics& graphics, const RECT& client)
                        {
                            State state = GetState();
                            state.size = CSize(client.right, client.bottom);
                            KeepHeldRanges(state);
                            Draw(graphics, state);
                        });
}

int CStereoFieldGraphWnd::FieldRadius(CSize size)
{
    return std::min((size.cx - 36) / 2, size.cy - 76);
}

void CStereoFieldGraphWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    const int width = state.size.cx;
    const int height = state.size.cy;
    PaintGraphBackground(graphics, RECT{0, 0, width, height});
    wchar_t title[64];
    std::swprintf(title, 64, L"Stereo Field  %.0f ms", state.windowSec * 1000);
    DrawControlText(graphics, title, {11}, 0xB6DCDCDC, Gdiplus::RectF(20, 10, REAL(width - 40), 20),
                    Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear);
    DrawLegend(graphics);

    const int radius = FieldRadius(state.size);
    if (radius <= 20)
    {
        return;
    }
    const Centre centre{REAL(width / 2), REAL(height - 40)};
    DrawGrid(graphics, centre, radius);

    double peak = 0.0;
    for (const PolarDistribution* bins : {&state.source, &state.processed})
    {
        peak = std::max(peak, *std::max_element(bins->begin(), bins->end()));
    }
    const double scale = radius / (peak > kSmallestPeak ? peak : 1.0);
    if (state.hasProcessed)
    {
        DrawField(graphics, centre, state.processed, scale, kProcessedLook);
    }
    if (state.hasSource)
    {
        DrawField(graphics, centre, state.source, scale, kSourceLook);
    }
    if (state.highs.shown)
    {
        DrawIndicator(graphics, centre, state.highs, radius - 4, kHighsLook);
    }
    if (state.mids.shown)
    {
        DrawIndicator(graphics, centre, state.mids, 0.58 * radius, kMidsLook);
    }
}
