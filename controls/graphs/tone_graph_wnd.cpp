#include "controls/graphs/tone_graph_wnd.h"

#include "controls/base/client_state.h"
#include "controls/base/control_text.h"
#include "controls/graphs/graph_feed.h"
#include "controls/graphs/graph_window.h"
#include "platform/gdiplus/gdiplus.h"
#include "platform/mfc/cstring.h"

#include <algorithm>
#include <array>
#include <cmath>

IMPLEMENT_DYNAMIC(CToneGraphWnd, CWnd)

BEGIN_MESSAGE_MAP(CToneGraphWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

namespace
{

using Gdiplus::PointF;
using Gdiplus::REAL;

constexpr std::array<const wchar_t*, kToneBands> kBandNames = {L"Low", L"Low-Mid", L"High-Mid",
                                                               L"High"};
constexpr REAL kTension = 0.35f;

struct CurveLook
{
    Gdiplus::ARGB fillTop;
    Gdiplus::ARGB fillBottom;
    REAL glowWidth;
    Gdiplus::ARGB glow;
    REAL lineWidth;
    Gdiplus::ARGB line;
};
constexpr CurveLook kDeltaLook{0x46F69364, 0x4656A9E2, 4.0f, 0x24FFC496, 2.0f, 0xDCFFD2A8};
constexpr CurveLook kProfileLook{0x3C5E9AE8, 0x40487CD6, 3.4f, 0x1C76B0EC, 1.8f, 0xD89CC4F4};

void StrokeCurve(Gdiplus::Graphics& graphics, const CToneGraphWnd::CurvePoints& points,
                 Gdiplus::ARGB colour, REAL width)
{
    Gdiplus::Pen pen{Gdiplus::Color(colour), width};
    pen.SetLineJoin(Gdiplus::LineJoinRound);
    graphics.DrawCurve(&pen, points.data(), int(points.size()), kTension);
}

// The plot: 18 pixels in from the sides, 30 from the top, 40 from the bottom.
struct Plot
{
    REAL left;
    REAL right;
    REAL top;
    REAL bottom;
    REAL Width() const { return right - left; }
    REAL Height() const { return bottom - top; }
    REAL Baseline() const { return top + 0.54f * Height(); }
    bool Drawable() const { return Width() >= 120 && Height() >= 60; }
};

Plot PlotOf(CSize size)
{
    return Plot{18, REAL(size.cx - 18), 30, REAL(size.cy - 40)};
}

} // namespace

BOOL CToneGraphWnd::Create(CWnd* parent, const RECT& rect, UINT id)
{
    return CreateGraphWindow(*this, parent, rect, id, L"BrimvaleToneGraphWnd");
}

CToneGraphWnd::State CToneGraphWnd::GetState() const
{
    State state;
    state.size = ClientSizeOf(*this);
    state.curve = ToneCurveOf(sourceAudio, processedAudio, cursorSec, windowSec);
    return state;
}

void CToneGraphWnd::OnPaint()
{
    PaintGraph(*this);
}

std::optional<CToneGraphWnd::CurvePoints> CToneGraphWnd::CurvePointsOf(const State& state)
{
    const Plot plot = PlotOf(state.size);
    if (!plot.Drawable())
    {
        return std::nullopt;
    }
    const REAL y0 = plot.Baseline();
    const double pixelsPerDb = 0.34 * plot.Height() / state.curve.scaleDb;
    const REAL pw = plot.Width();
    CurvePoints points;
    points.front() = PointF(plot.left, y0);
    points.back() = PointF(plot.right, y0);
    for (std::size_t band = 0; band < kToneBands; ++band)
    {
        const REAL x = plot.left + 0.1f * pw + REAL(band) / 3 * (pw - 0.2f * pw);
        points[band + 1] = PointF(x, REAL(y0 - state.curve.values[band] * pixelsPerDb));
    }
    return points;
}

void CToneGraphWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    const REAL width = REAL(state.size.cx);
    const REAL height = REAL(state.size.cy);
    const Gdiplus::LinearGradientBrush background(
        PointF(0, 0), PointF(0, height), Gdiplus::Color(0xFF0C0E12), Gdiplus::Color(0xFF121217));
    graphics.FillRectangle(&background, 0.0f, 0.0f, width, height);

    const ToneCurve& curve = state.curve;
    CString title;
    title.Format(L"Tone  %ls  %ls", curve.delta ? L"Delta" : L"Profile", L"Adaptive");
    DrawControlText(graphics, title.GetString(), {11}, 0xB6DCDCDC,
                    Gdiplus::RectF(20, 10, width - 40, 20), Gdiplus::StringAlignmentNear,
                    Gdiplus::StringAlignmentNear);

    const std::optional<CurvePoints> points = CurvePointsOf(state);
    if (!points)
    {
        return;
    }
    const Plot plot = PlotOf(state.size);
    const REAL y0 = plot.Baseline();
    const Gdiplus::Pen baseline(Gdiplus::Color(0x4EFFBF7A), 1.0f);
    graphics.DrawLine(&baseline, plot.left, y0, plot.right, y0);
    for (std::size_t band = 0; band < kToneBands; ++band)
    {
        const REAL x = (*points)[band + 1].X;
        DrawControlText(graphics, kBandNames[band], {10}, 0x96BABEC4,
                        Gdiplus::RectF(x - 38, plot.bottom + 3, 76, 16));
    }

    const CurveLook& look = curve.delta ? kDeltaLook : kProfileLook;
    Gdiplus::GraphicsPath area;
    area.AddCurve(points->data(), int(points->size()), kTension);
    area.AddLine(plot.right, y0, plot.left, y0);
    area.CloseFigure();
    const Gdiplus::LinearGradientBrush fill(PointF(0, plot.top), PointF(0, plot.bottom),
                                            Gdiplus::Color(look.fillTop),
                                            Gdiplus::Color(look.fillBottom));
    graphics.FillPath(&fill, &area);
    StrokeCurve(graphics, *points, look.glow, look.glowWidth);
    StrokeCurve(graphics, *points, look.line, look.lineWidth);

    const Gdiplus::Pen guide(Gdiplus::Color(0x18C8CDD4), 1.0f);
    for (std::size_t band = 0; band < kToneBands; ++band)
    {
        const REAL x = (*points)[band + 1].X;
        graphics.DrawLine(&guide, x, plot.top + 6, x, plot.bottom - 4);
    }
}
