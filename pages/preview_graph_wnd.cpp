#include "pages/preview_graph_wnd.h"

#include "controls/base/client_state.h"
#include "controls/base/control_text.h"
#include "controls/base/painting_helpers.h"
#include "controls/graphs/graph_look.h"
#include "controls/graphs/graph_window.h"
#include "pages/page_window.h"
#include "platform/gdiplus/gdiplus.h"

#include <cmath>

IMPLEMENT_DYNAMIC(CPreviewGraphWnd, CWnd)

BEGIN_MESSAGE_MAP(CPreviewGraphWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

namespace
{

using Gdiplus::ARGB;
using Gdiplus::PointF;
using Gdiplus::REAL;

double FiniteOrZero(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

class RoundJoinPen : public Gdiplus::Pen
{
public:
    RoundJoinPen(ARGB colour, REAL width) : Gdiplus::Pen(Gdiplus::Color(colour), width)
    {
        SetLineJoin(Gdiplus::LineJoinRound);
    }
};

void PaintPanel(Gdiplus::Graphics& graphics, CSize size)
{
    PaintGraphBackground(graphics, RECT{0, 0, size.cx, size.cy}, 0xFF0D0E12, 0xFF141218);
    const REAL width = REAL(size.cx - 20);
    const REAL height = REAL(size.cy - 20);
    if (width <= 0 || height <= 0)
    {
        return;
    }
    Gdiplus::GraphicsPath panel;
    AddRoundedRectFigure(panel, 10, 10, width, height, 10);
    const Gdiplus::LinearGradientBrush body(PointF(0, 10), PointF(0, 10 + height),
                                            Gdiplus::Color(0xFF1C1C22), Gdiplus::Color(0xFF0F1015));
    graphics.FillPath(&body, &panel);
    const Gdiplus::Pen frame(Gdiplus::Color(0xFF34363F), 1.0f);
    graphics.DrawPath(&frame, &panel);
}

void FillUnder(Gdiplus::Graphics& graphics, const std::vector<PointF>& points, float baseline,
               ARGB colour)
{
    Gdiplus::GraphicsPath fill;
    fill.AddLines(points.data(), int(points.size()));
    fill.AddLine(points.back(), PointF(points.back().X, baseline));
    fill.AddLine(PointF(points.back().X, baseline), PointF(points.front().X, baseline));
    fill.CloseFigure();
    const Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
    graphics.FillPath(&brush, &fill);
}

void StrokeLine(Gdiplus::Graphics& graphics, const std::vector<PointF>& points, ARGB colour,
                REAL width)
{
    DrawLongPolyline(graphics, RoundJoinPen(colour, width), points);
}

// How one envelope pair is painted.
struct EnvelopeLook
{
    ARGB peakFill;
    ARGB rmsFill;
    ARGB rmsLine;
    REAL rmsWidth;
    ARGB peakGlow; // 0: none
    ARGB peakLine;
    REAL peakWidth;
};

void DrawEnvelope(Gdiplus::Graphics& graphics, const PreviewEnvelopeShape& shape, float baseline,
                  const EnvelopeLook& look)
{
    if (shape.peak.size() < 2)
    {
        return;
    }
    FillUnder(graphics, shape.peak, baseline, look.peakFill);
    if (shape.rms.size() >= 2)
    {
        FillUnder(graphics, shape.rms, baseline, look.rmsFill);
        StrokeLine(graphics, shape.rms, look.rmsLine, look.rmsWidth);
    }
    if (look.peakGlow != 0)
    {
        StrokeLine(graphics, shape.peak, look.peakGlow, 4.0f);
    }
    StrokeLine(graphics, shape.peak, look.peakLine, look.peakWidth);
}

void DrawLane(Gdiplus::Graphics& graphics, const PreviewLane& lane, const Gdiplus::RectF& plot)
{
    const float right = plot.X + plot.Width;
    Gdiplus::GraphicsPath fill;
    fill.AddLine(PointF(plot.X, lane.top), lane.points.front());
    fill.AddCurve(lane.points.data(), int(lane.points.size()), 0.5f);
    fill.AddLine(lane.points.back(), PointF(right, lane.top));
    fill.CloseFigure();
    const Gdiplus::SolidBrush brush{Gdiplus::Color(lane.fill)};
    graphics.FillPath(&brush, &fill);

    const Gdiplus::Pen edge(Gdiplus::Color(WithAlpha(lane.line, 0x34)), 1.0f);
    graphics.DrawLine(&edge, plot.X, lane.top, right, lane.top);
    DrawLongCurve(graphics, RoundJoinPen(WithAlpha(lane.line, 0x44), 4.0f), lane.points, 0.5f);
    DrawLongCurve(graphics, RoundJoinPen(WithAlpha(lane.line, 0xEE), 1.7f), lane.points, 0.5f);
    DrawControlTextAt(graphics, lane.label, {9, Gdiplus::FontStyleBold}, WithAlpha(lane.line, 0xC4),
                      PointF(plot.X + 4, lane.top - 14));
}

} // namespace

BOOL CPreviewGraphWnd::Create(CWnd* parent, const RECT& rect, UINT id)
{
    return CreateGraphWindow(*this, parent, rect, id, L"BrimvalePreviewGraphWnd");
}

void CPreviewGraphWnd::SetSourceAudio(const AudioBuffer& audio)
{
    sourceAudio = audio;
    RepaintWhole(*this);
}

void CPreviewGraphWnd::SetProcessedAudio(const AudioBuffer& audio)
{
    processedAudio = audio;
    RepaintWhole(*this);
}

void CPreviewGraphWnd::SetCursor(double seconds)
{
    cursorSec = FiniteOrZero(seconds);
    RepaintWhole(*this);
}

void CPreviewGraphWnd::SetWindowSeconds(double seconds)
{
    const double window = FiniteOrZero(seconds);
    if (std::fabs(window - windowSec) >= 1e-4 || !std::isfinite(windowSec))
    {
        windowSec = window;
        RepaintWhole(*this);
    }
}

void CPreviewGraphWnd::SetShowRms(bool show)
{
    StoreAndRepaint(*this, showRms, show);
}

void CPreviewGraphWnd::SetPlaying(bool play)
{
    StoreAndRepaint(*this, playing, play);
}

CPreviewGraphWnd::State CPreviewGraphWnd::GetState() const
{
    State state;
    state.size = ClientSizeOf(*this);
    state.input = {&sourceAudio, &processedAudio, cursorSec, windowSec, showRms};
    return state;
}

void CPreviewGraphWnd::OnPaint()
{
    PaintGraph(*this);
}

void CPreviewGraphWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    if (state.size.cx <= 0 || state.size.cy <= 0)
    {
        return;
    }
    const PreviewGraphScene scene = ComposePreviewGraph(state.input, state.size);
    PaintPanel(graphics, state.size);

    if (scene.plotShown)
    {
        if (scene.outputShown)
        {
            DrawEnvelope(
                graphics, scene.output, scene.baseline,
                {0x56DB516F, 0x36E4728C, 0xAAE8849A, 1.15f, 0x34DB516F, 0xECDB516F, 1.95f});
        }
        if (scene.sourceShown)
        {
            DrawEnvelope(graphics, scene.source, scene.baseline,
                         {0x344B8CBA, 0x2C6CA4CA, 0x807CB0D4, 1.0f, 0, 0xAA4B8CBA, 1.35f});
        }
        const Gdiplus::Pen baseline(Gdiplus::Color(0x4EFF76A2), 1.0f);
        graphics.DrawLine(&baseline, scene.plot.X, scene.baseline, scene.plot.X + scene.plot.Width,
                          scene.baseline);
    }
    for (const PreviewLane& lane : scene.lanes)
    {
        DrawLane(graphics, lane, scene.plot);
    }

    const REAL markerTop = 18;
    const REAL markerBottom = REAL(state.size.cy - 18);
    const Gdiplus::Pen glow(Gdiplus::Color(0x4CFFF0D2), 5.0f);
    graphics.DrawLine(&glow, scene.markerX, markerTop, scene.markerX, markerBottom);
    const Gdiplus::Pen marker(Gdiplus::Color(0xECFFF2DA), 1.2f);
    graphics.DrawLine(&marker, scene.markerX, markerTop, scene.markerX, markerBottom);

    DrawControlText(graphics, scene.caption, {11}, 0xB6DCDCDC,
                    Gdiplus::RectF(20, 10, REAL(state.size.cx - 40), 20),
                    Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear);
}
