#include "controls/graphs/activity_graph_wnd.h"

#include "controls/base/client_state.h"
#include "controls/base/control_text.h"
#include "controls/base/painting_helpers.h"
#include "controls/graphs/graph_feed.h"
#include "controls/graphs/graph_look.h"
#include "controls/graphs/graph_window.h"
#include "platform/gdiplus/gdiplus.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

IMPLEMENT_DYNAMIC(CActivityGraphWnd, CWnd)

BEGIN_MESSAGE_MAP(CActivityGraphWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

namespace
{

using Gdiplus::ARGB;
using Gdiplus::PointF;
using Gdiplus::REAL;
using Gdiplus::RectF;

constexpr double kCursorStep = 1e-6;
constexpr REAL kCursorBandWidth = 56;
constexpr REAL kLegendItemWidth = 100;

// The three colours of a trace or an envelope band.
struct BandLook
{
    ARGB fill;
    ARGB glow;
    ARGB line;
};

constexpr BandLook kDynamicsLook{0x283C78C8, 0x349678FF, 0xD29678FF};
constexpr BandLook kLimiterLook{0x3076E29C, 0x38FFC828, 0xD7FFC828};
constexpr BandLook kSourceLook{0x2E4B8CBA, 0x164B8CBA, 0x984B8CBA};
constexpr BandLook kProcessedLook{0x48DB516F, 0x26DB516F, 0xC8DB516F};

// The plot inside the client area and its vertical scale.
struct Plot
{
    REAL left;
    REAL top;
    REAL right;
    REAL bottom;
    REAL centre;     // the centre line
    REAL halfHeight; // a value of 1 lies this far from the centre line

    REAL X(double column) const
    {
        return REAL(left + column / double(kActivityColumns - 1) * (right - left));
    }
};

// A cursor that is not a number is drawn at the start.
double DrawnFraction(double fraction)
{
    return std::isnan(fraction) ? 0.0 : std::clamp(fraction, 0.0, 1.0);
}

// The client's shade with a rounded panel on it.
void PaintBackground(Gdiplus::Graphics& graphics, CSize size)
{
    PaintGraphBackground(graphics, RECT{0, 0, size.cx, size.cy}, 0xFF0D0E12, 0xFF141218);
    const REAL width = REAL(size.cx);
    const REAL height = REAL(size.cy);
    Gdiplus::GraphicsPath panel;
    AddRoundedRectFigure(panel, 10, 10, width - 20, height - 20, 10);
    const Gdiplus::LinearGradientBrush body(PointF(0, 10), PointF(0, height - 10),
                                            Gdiplus::Color(0xFF1A1A20), Gdiplus::Color(0xFF0E0F14));
    graphics.FillPath(&body, &panel);
    const Gdiplus::Pen outline(Gdiplus::Color(0xFF32343E), 1.0f);
    graphics.DrawPath(&outline, &panel);
}

void StrokeRounded(Gdiplus::Graphics& graphics, const std::vector<PointF>& points, ARGB glow,
                   ARGB line, REAL lineWidth)
{
    Gdiplus::Pen glowPen(Gdiplus::Color(glow), 5.0f);
    glowPen.SetLineJoin(Gdiplus::LineJoinRound);
    graphics.DrawLines(&glowPen, points.data(), int(points.size()));
    Gdiplus::Pen linePen(Gdiplus::Color(line), lineWidth);
    linePen.SetLineJoin(Gdiplus::LineJoinRound);
    graphics.DrawLines(&linePen, points.data(), int(points.size()));
}

void DrawGrid(Gdiplus::Graphics& graphics, const Plot& plot)
{
    const Gdiplus::Pen level(Gdiplus::Color(0x16D2D6DC), 1.0f);
    for (const double offset : {-1.0, -0.5, 0.5, 1.0})
    {
        const REAL y = REAL(plot.centre + offset * plot.halfHeight);
        graphics.DrawLine(&level, plot.left, y, plot.right, y);
    }
    const Gdiplus::Pen time(Gdiplus::Color(0x22D2D6DC), 1.0f);
    for (const double quarter : {0.25, 0.5, 0.75})
    {
        const REAL x = REAL(plot.left + quarter * (plot.right - plot.left));
        graphics.DrawLine(&time, x, plot.top, x, plot.bottom);
    }
}

// A trace above the centre line, filled down to it, with a dot at the cursor.
void DrawTrace(Gdiplus::Graphics& graphics, const Plot& plot, const std::vector<float>& trace,
               const BandLook& look, double fraction)
{
    if (trace.size() != kActivityColumns)
    {
        return;
    }
    std::vector<PointF> points;
    points.reserve(kActivityColumns + 2);
    for (std::size_t i = 0; i < kActivityColumns; ++i)
    {
        points.emplace_back(plot.X(double(i)), REAL(plot.centre - trace[i] * plot.halfHeight));
    }
    std::vector<PointF> area = points;
    area.emplace_back(plot.right, plot.centre);
    area.emplace_back(plot.left, plot.centre);
    const Gdiplus::SolidBrush fill{Gdiplus::Color(look.fill)};
    graphics.FillPolygon(&fill, area.data(), int(area.size()));
    StrokeRounded(graphics, points, look.glow, look.line, 1.8f);

    const REAL x = REAL(plot.left + (plot.right - plot.left) * fraction);
    const REAL y =
        REAL(plot.centre -
             ValueAtColumn(trace, double(kActivityColumns - 1) * fraction) * plot.halfHeight);
    const Gdiplus::SolidBrush outer{Gdiplus::Color(WithAlpha(look.glow, (look.glow >> 24) + 30))};
    graphics.FillEllipse(&outer, x - 6.5f, y - 6.5f, 13.0f, 13.0f);
    const Gdiplus::SolidBrush inner{Gdiplus::Color(0xF0FFF8EB)};
    graphics.FillEllipse(&inner, x - 2.8f, y - 2.8f, 5.6f, 5.6f);
}

// A band mirrored around the centre line: the upper edge left to right, the
// lower edge back.
void DrawEnvelope(Gdiplus::Graphics& graphics, const Plot& plot, const std::vector<float>& envelope,
                  const BandLook& look)
{
    if (envelope.size() != kActivityColumns)
    {
        return;
    }
    std::vector<PointF> upper;
    std::vector<PointF> lower;
    upper.reserve(kActivityColumns);
    lower.reserve(kActivityColumns);
    for (std::size_t i = 0; i < kActivityColumns; ++i)
    {
        const REAL x = plot.X(double(i));
        upper.emplace_back(x, REAL(plot.centre - envelope[i] * plot.halfHeight));
        lower.emplace_back(x, REAL(plot.centre + envelope[i] * plot.halfHeight));
    }
    std::vector<PointF> band = upper;
    band.insert(band.end(), lower.rbegin(), lower.rend());
    const Gdiplus::SolidBrush fill{Gdiplus::Color(look.fill)};
    graphics.FillPolygon(&fill, band.data(), int(band.size()));
    StrokeRounded(graphics, upper, look.glow, look.line, 1.6f);
    StrokeRounded(graphics, lower, look.glow, look.line, 1.6f);
}

void DrawCursorBand(Gdiplus::Graphics& graphics, const Plot& plot, double fraction, bool playing)
{
    const REAL x = REAL(plot.left + (plot.right - plot.left) * fraction);
    const REAL left = x - kCursorBandWidth / 2;
    constexpr ARGB kGlow = 0x00FCE2B0;
    Gdiplus::LinearGradientBrush band(PointF(left, 0), PointF(left + kCursorBandWidth, 0),
                                      Gdiplus::Color(kGlow), Gdiplus::Color(kGlow));
    const Gdiplus::Color stops[] = {Gdiplus::Color(kGlow),
                                    Gdiplus::Color(WithAlpha(kGlow, playing ? 0x1E : 0x10)),
                                    Gdiplus::Color(kGlow)};
    const REAL positions[] = {0.0f, 0.5f, 1.0f};
    band.SetInterpolationColors(stops, positions, 3);
    graphics.FillRectangle(&band, left, plot.top, kCursorBandWidth, plot.bottom - plot.top);

    const Gdiplus::Pen halo(Gdiplus::Color(playing ? 0x50F4E4BA : 0x30F4E4BA), 4.5f);
    graphics.DrawLine(&halo, x, plot.top, x, plot.bottom);
    const Gdiplus::Pen line(Gdiplus::Color(playing ? 0xE6FFF2D8 : 0xACFFF2D8), 1.2f);
    graphics.DrawLine(&line, x, plot.top, x, plot.bottom);
}

void DrawReductionScale(Gdiplus::Graphics& graphics, const Plot& plot)
{
    const struct
    {
        const wchar_t* text;
        double offset;
    } marks[] = {{L"+12 dB", -1.0}, {L"+6 dB", -0.5}, {L"0 dB", 0.0}};
    for (const auto& mark : marks)
    {
        const REAL y = REAL(plot.centre + mark.offset * plot.halfHeight);
        DrawControlText(graphics, mark.text, {8}, 0x6CC8D0DA, RectF(plot.left + 3, y - 5, 36, 10),
                        Gdiplus::StringAlignmentNear);
    }
}

void DrawLegend(Gdiplus::Graphics& graphics, const CActivityGraphWnd::State& state)
{
    struct Item
    {
        const wchar_t* name;
        ARGB colour;
    };
    std::vector<Item> items = {{L"Source", 0xBE4B8CBA}, {L"Processed", 0xD2DB516F}};
    if (state.derived.hasLimiterTrace)
    {
        items.push_back({L"Limiter GR", 0xDCFFC828});
    }
    if (state.derived.hasDynamicsTrace)
    {
        items.push_back({L"Dynamics GR", 0xD29678FF});
    }
    const REAL y = 15;
    REAL x = 20;
    const Gdiplus::SolidBrush backdrop{Gdiplus::Color(0x32181C22)};
    for (const Item& item : items)
    {
        graphics.FillRectangle(&backdrop, x - 5, y - 2, kLegendItemWidth, 16.0f);
        const Gdiplus::SolidBrush swatch{Gdiplus::Color(item.colour)};
        graphics.FillRectangle(&swatch, x, y + 2.5f, 8.0f, 8.0f);
        DrawControlTextAt(graphics, item.name, {9}, 0xA8C4C8CE, PointF(x + 12, y));
        x += kLegendItemWidth;
    }
    DrawControlText(graphics, L"ACTIVITY", {9, Gdiplus::FontStyleBold}, 0x60D2D6DC,
                    RectF(10, 15, REAL(state.size.cx - 28), 13), Gdiplus::StringAlignmentFar);
}

void DrawTimeAxis(Gdiplus::Graphics& graphics, const Plot& plot, double durationSec, REAL bottom)
{
    for (int quarter = 0; quarter <= 4; ++quarter)
    {
        const double part = quarter / 4.0;
        const REAL x = REAL(plot.left + part * (plot.right - plot.left));
        wchar_t label[32];
        std::swprintf(label, 32, L"%.0fs", part * durationSec);
        const Gdiplus::StringAlignment alignment = quarter == 0   ? Gdiplus::StringAlignmentNear
                                                   : quarter == 4 ? Gdiplus::StringAlignmentFar
                                                                  : Gdiplus::StringAlignmentCenter;
        DrawControlText(graphics, label, {8}, 0x76BAC0C8, RectF(x - 20, bottom - 25, 40, 12),
                        alignment);
    }
}

} // namespace

BOOL CActivityGraphWnd::Create(CWnd* parent, const RECT& rect, UINT id)
{
    return CreateGraphWindow(*this, parent, rect, id, L"BrimvaleActivityGraphWnd");
}

void CActivityGraphWnd::SetSourceAudio(const AudioBuffer& audio)
{
    sourceAudio = audio;
    RebuildEnvelopes();
    RepaintGraph(*this);
}

void CActivityGraphWnd::SetProcessedAudio(const AudioBuffer& audio)
{
    processedAudio = audio;
    RebuildEnvelopes();
    RepaintGraph(*this);
}

void CActivityGraphWnd::SetCursorFraction(double fraction)
{
    // Written so that a NaN on either side counts as a change.
    if (!(std::fabs(fraction - cursorFraction) <= kCursorStep))
    {
        cursorFraction = fraction;
        RepaintGraph(*this);
    }
}

void CActivityGraphWnd::SetPlaying(bool play)
{
    if (play != playing)
    {
        playing = play;
        RepaintGraph(*this);
    }
}

void CActivityGraphWnd::RebuildEnvelopes()
{
    derived = AnalyseActivity(sourceAudio, processedAudio);
}

CActivityGraphWnd::State CActivityGraphWnd::GetState() const
{
    State state;
    state.size = ClientSizeOf(*this);
    state.hasProcessedAudio = HasAudio(processedAudio);
    state.derived = derived;
    state.cursorFraction = cursorFraction;
    state.playing = playing;
    return state;
}

void CActivityGraphWnd::OnPaint()
{
    PaintGraph(*this);
}

void CActivityGraphWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    const REAL width = REAL(state.size.cx);
    const REAL height = REAL(state.size.cy);
    PaintBackground(graphics, state.size);

    Plot plot{};
    plot.left = 16;
    plot.top = 34;
    plot.right = width - 24;
    plot.bottom = height - 30;
    if (width - 40 < 80 || plot.bottom - plot.top < 60)
    {
        return;
    }
    plot.centre = (plot.top + plot.bottom) / 2;
    plot.halfHeight = (plot.bottom - plot.top) / 2 * 0.9f;

    if (!state.hasProcessedAudio)
    {
        DrawControlText(graphics, L"Process a preview to see activity", {13}, 0x6CC4C8D0,
                        RectF(30, 30, width - 60, height - 60));
        return;
    }
    const double fraction = DrawnFraction(state.cursorFraction);
    DrawGrid(graphics, plot);
    if (state.derived.hasDynamicsTrace)
    {
        DrawTrace(graphics, plot, state.derived.dynamicsTrace, kDynamicsLook, fraction);
    }
    if (state.derived.hasLimiterTrace)
    {
        DrawTrace(graphics, plot, state.derived.limiterTrace, kLimiterLook, fraction);
    }
    DrawEnvelope(graphics, plot, state.derived.sourceEnvelope, kSourceLook);
    DrawEnvelope(graphics, plot, state.derived.processedEnvelope, kProcessedLook);
    const Gdiplus::Pen centre(Gdiplus::Color(0x3CB4C3D2), 1.0f);
    graphics.DrawLine(&centre, plot.left, plot.centre, plot.right, plot.centre);
    DrawCursorBand(graphics, plot, fraction, state.playing);
    if (state.derived.hasDynamicsTrace || state.derived.hasLimiterTrace)
    {
        DrawReductionScale(graphics, plot);
    }
    DrawLegend(graphics, state);
    if (state.derived.durationSec > 0)
    {
        DrawTimeAxis(graphics, plot, state.derived.durationSec, height);
    }
}
