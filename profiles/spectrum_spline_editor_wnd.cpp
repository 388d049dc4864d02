#include "profiles/spectrum_spline_editor_wnd.h"

#include "controls/base/client_state.h"
#include "controls/base/control_text.h"
#include "controls/base/standard_cursor.h"
#include "controls/graphs/graph_window.h"
#include "profiles/profile_graph_look.h"
#include "profiles/spline_points.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

IMPLEMENT_DYNAMIC(CProfileSpectrumEditorWnd, CWnd)

BEGIN_MESSAGE_MAP(CProfileSpectrumEditorWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_SETCURSOR()
ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

namespace
{

using Gdiplus::REAL;

constexpr int kPlotSideInset = 18;
constexpr int kPlotTopBottomInset = 28;
// The points' fixed scale, and the display's hold on the spline.
constexpr double kPointLimitDb = 18.0;
constexpr float kHitRadiusSquared = 64.0f;
constexpr std::size_t kDefaultPointCount = 6;
constexpr int kLeastPointCount = 4;
constexpr int kMostPointCount = 16;
constexpr double kLeastRangeDb = 24.0;
constexpr double kRangeMarginDb = 3.0;
constexpr double kAxisBottomHz = 20.0;

constexpr COLORREF kMidColor = RGB(0xE0, 0x54, 0x74);
constexpr COLORREF kSideColor = RGB(0x6A, 0x9C, 0xFF);

constexpr Gdiplus::ARGB kGridLine = 0x12FFFFFF;
constexpr Gdiplus::ARGB kFrequencyText = 0xFF666E78;
constexpr Gdiplus::ARGB kLevelText = 0x70808892;
constexpr Gdiplus::ARGB kPointOutline = 0xE40E1014;
constexpr Gdiplus::ARGB kHintText = 0xFFAFB4BC;
constexpr Gdiplus::ARGB kLegendText = 0xFF6E7680;

struct GridFrequency
{
    double hz;
    const wchar_t* label;
};

constexpr GridFrequency kGridFrequencies[] = {{40, L"40"},   {100, L"100"}, {250, L"250"},
                                              {1000, L"1k"}, {4000, L"4k"}, {12000, L"12k"}};

struct Level
{
    double db;
    const wchar_t* label;
};

constexpr Level kLevels[] = {
    {12, L"+12 dB"}, {6, L"+6 dB"}, {0, L"0 dB"}, {-6, L"-6 dB"}, {-12, L"-12 dB"}};

// A plot fraction held to 0..1; NaN has no place on the scale and goes to `nanAs`.
double PlotFraction(double t, double nanAs)
{
    return std::isnan(t) ? nanAs : std::clamp(t, 0.0, 1.0);
}

// The screen points of a series of dB values on the range lo..hi.
std::vector<Gdiplus::PointF> MapSeries(std::span<const double> values, const RECT& plot,
                                       int sampleRate, int fftSize, double lo, double hi)
{
    std::vector<Gdiplus::PointF> mapped;
    mapped.reserve(values.size());
    const float width = float(plot.right - plot.left);
    const float height = float(plot.bottom - plot.top);
    for (std::size_t i = 0; i < values.size(); ++i)
    {
        const double x = LogFrequencyAxis(i, values.size(), sampleRate, fftSize);
        const double t = PlotFraction((hi - values[i]) / (hi - lo), 1.0);
        mapped.emplace_back(float(plot.left) + width * float(x),
                            float(plot.top) + height * float(t));
    }
    return mapped;
}

void WidenRange(std::span<const double> values, double& lo, double& hi)
{
    for (const double v : values)
    {
        // One infinite or NaN bin would make the whole range unusable.
        if (std::isfinite(v))
        {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    }
}

void DrawSeries(Gdiplus::Graphics& graphics, const std::vector<Gdiplus::PointF>& series,
                const Gdiplus::Color& color, REAL width)
{
    const Gdiplus::Pen pen(color, width);
    graphics.DrawLines(&pen, series.data(), static_cast<int>(series.size()));
}

void FillCircle(Gdiplus::Graphics& graphics, Gdiplus::PointF centre, REAL diameter,
                const Gdiplus::Color& color)
{
    const Gdiplus::SolidBrush brush(color);
    graphics.FillEllipse(&brush, centre.X - diameter / 2, centre.Y - diameter / 2, diameter,
                         diameter);
}

void DrawGrid(Gdiplus::Graphics& graphics, const RECT& plot, int sampleRate)
{
    const REAL left = REAL(plot.left);
    const REAL top = REAL(plot.top);
    const REAL width = REAL(plot.right - plot.left);
    const REAL height = REAL(plot.bottom - plot.top);
    const Gdiplus::Pen line{Gdiplus::Color(kGridLine), 1.0f};
    for (int k = 1; k <= 4; ++k)
    {
        const REAL y = top + height * REAL(k) / 5;
        graphics.DrawLine(&line, left, y, REAL(plot.right), y);
    }
    // Half the rate, without the axis' 1000 Hz floor: the grid only guides the eye.
    const double span = std::log(sampleRate / 2.0) - std::log(kAxisBottomHz);
    for (const GridFrequency& f : kGridFrequencies)
    {
        const double t = PlotFraction((std::log(f.hz) - std::log(kAxisBottomHz)) / span, 0.0);
        const REAL x = left + width * REAL(t);
        graphics.DrawLine(&line, x, top, x, REAL(plot.bottom));
        DrawControlText(graphics, f.label, {8.0f}, kFrequencyText,
                        Gdiplus::RectF(x - 16, REAL(plot.bottom + 4), 32, 12),
                        Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentNear);
    }
    for (const Level& level : kLevels)
    {
        const REAL y = CProfileSpectrumEditorWnd::ControlPointPosition(plot, 0, 1, level.db).Y;
        DrawControlText(graphics, level.label, {8.0f}, kLevelText,
                        Gdiplus::RectF(left + 6, y - 7, 42, 12), Gdiplus::StringAlignmentNear,
                        Gdiplus::StringAlignmentNear);
    }
}

void DrawCurves(Gdiplus::Graphics& graphics, const CProfileSpectrumEditorWnd::State& state,
                const RECT& plot)
{
    using Editor = CProfileSpectrumEditorWnd;
    double lo = 0;
    double hi = 0;
    Editor::ComputeRange(state, lo, hi);
    const auto map = [&](std::span<const double> values)
    { return MapSeries(values, plot, state.sampleRate, state.fftSize, lo, hi); };
    const std::vector<Gdiplus::PointF> stored = map(state.edited.spectrum);
    const std::vector<Gdiplus::PointF> edited =
        map(Editor::BuildDisplayedCurve(state.edited, state.sampleRate, state.fftSize));
    if (stored.size() < 2 || edited.size() < 2)
    {
        return;
    }
    const COLORREF own = Editor::OwnColor(state.curveMode);
    const std::vector<Gdiplus::PointF> reference =
        map(Editor::BuildDisplayedCurve(state.reference, state.sampleRate, state.fftSize));
    if (reference.size() >= 2)
    {
        DrawSeries(graphics, reference,
                   Gdiplus::ColorFromRef(Editor::OtherColor(state.curveMode), 0x7E), 1.2f);
    }
    DrawSeries(graphics, stored, Gdiplus::ColorFromRef(own, 0x54), 1.1f);
    DrawSeries(graphics, edited, Gdiplus::ColorFromRef(Editor::GlowColor(own), 0x4C), 4.0f);
    DrawSeries(graphics, edited, Gdiplus::ColorFromRef(own), 2.0f);
}

void DrawControlPoints(Gdiplus::Graphics& graphics, const CProfileSpectrumEditorWnd::State& state,
                       const RECT& plot)
{
    using Editor = CProfileSpectrumEditorWnd;
    const COLORREF own = Editor::OwnColor(state.curveMode);
    const Gdiplus::Pen outline{Gdiplus::Color(kPointOutline), 1.1f};
    const std::span<const double> points = state.edited.points;
    for (std::size_t j = 0; j < points.size(); ++j)
    {
        const bool active = state.dragging && static_cast<int>(j) == state.dragIndex;
        const Gdiplus::PointF c = Editor::ControlPointPosition(plot, j, points.size(), points[j]);
        const Gdiplus::Pen guide(
            Gdiplus::ColorFromRef(Editor::GuideColor(own), active ? 0x5C : 0x36), 1.0f);
        graphics.DrawLine(&guide, c.X, REAL(plot.top + 6), c.X, REAL(plot.bottom - 6));
        FillCircle(graphics, c, 22, Gdiplus::ColorFromRef(own, active ? 0x60 : 0x3A));
        const COLORREF body = active ? Editor::ActiveBodyColor(own) : own;
        FillCircle(graphics, c, 16, Gdiplus::ColorFromRef(body, 0xE8));
        graphics.DrawEllipse(&outline, c.X - 8, c.Y - 8, 16.0f, 16.0f);
        FillCircle(graphics, c, 5, Gdiplus::Color(active ? 0xDCFFF8EE : 0xB4FFF8EE));
    }
}

} // namespace

BOOL CProfileSpectrumEditorWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateProfileGraphWindow(*this, parent, rect, id, L"BrimvaleProfileSpectrumEditorWnd");
}

void CProfileSpectrumEditorWnd::SetPoints(std::vector<double> values)
{
    points = values.empty() ? std::vector<double>(kDefaultPointCount, 0.0) : std::move(values);
    Repaint();
}

void CProfileSpectrumEditorWnd::SetReferencePoints(std::vector<double> values)
{
    referencePoints =
        values.empty()
            ? std::vector<double>(std::max<std::size_t>(points.size(), kLeastPointCount), 0.0)
            : std::move(values);
    Repaint();
}

void CProfileSpectrumEditorWnd::SetPointCount(int n)
{
    const int count = std::clamp(n, kLeastPointCount, kMostPointCount);
    points = ResampleSplinePoints(points, count);
    referencePoints = ResampleSplinePoints(referencePoints, count);
    Repaint();
}

void CProfileSpectrumEditorWnd::Repaint()
{
    RepaintGraph(*this);
}

CProfileSpectrumEditorWnd::CurveInput CProfileSpectrumEditorWnd::EditedInput() const
{
    return {spectrum, points, offsetDb, contourScale, tiltDb};
}

CProfileSpectrumEditorWnd::CurveInput CProfileSpectrumEditorWnd::ReferenceInput() const
{
    return {referenceSpectrum, referencePoints, referenceOffsetDb, referenceContourScale,
            referenceTiltDb};
}

std::vector<double> CProfileSpectrumEditorWnd::BuildCurve() const
{
    return BuildDisplayedCurve(EditedInput(), sampleRate, fftSize);
}

std::vector<double> CProfileSpectrumEditorWnd::BuildReferenceCurve() const
{
    return BuildDisplayedCurve(ReferenceInput(), sampleRate, fftSize);
}

std::vector<double> CProfileSpectrumEditorWnd::BuildDisplayedCurve(const CurveInput& input,
                                                                   int sampleRate, int fftSize)
{
    std::vector<double> curve(input.spectrum.begin(), input.spectrum.end());
    const std::size_t n = curve.size();
    for (std::size_t i = 0; i < n; ++i)
    {
        const double x = LogFrequencyAxis(i, n, sampleRate, fftSize);
        const double spline =
            std::clamp(EvaluateSplinePoints(input.points, x), -kPointLimitDb, kPointLimitDb);
        curve[i] += input.offsetDb + input.contourScale * spline + (2.0 * x - 1.0) * input.tiltDb;
    }
    return curve;
}

void CProfileSpectrumEditorWnd::ComputeRange(double& lo, double& hi) const
{
    ComputeRange(GetState(), lo, hi);
}

void CProfileSpectrumEditorWnd::ComputeRange(const State& state, double& lo, double& hi)
{
    lo = -kLeastRangeDb;
    hi = kLeastRangeDb;
    WidenRange(state.edited.spectrum, lo, hi);
    WidenRange(state.reference.spectrum, lo, hi);
    WidenRange(BuildDisplayedCurve(state.edited, state.sampleRate, state.fftSize), lo, hi);
    WidenRange(BuildDisplayedCurve(state.reference, state.sampleRate, state.fftSize), lo, hi);
    // Finite values only, so hi always lies above lo here.
    lo -= kRangeMarginDb;
    hi += kRangeMarginDb;
}

RECT CProfileSpectrumEditorWnd::PlotRect(CSize client)
{
    return RECT{kPlotSideInset, kPlotTopBottomInset, client.cx - kPlotSideInset,
                client.cy - kPlotTopBottomInset};
}

Gdiplus::PointF CProfileSpectrumEditorWnd::ControlPointPosition(const RECT& plotRect,
                                                                std::size_t index,
                                                                std::size_t count, double db)
{
    const double across = count > 1 ? double(index) / double(count - 1) : 0.0;
    const double t = PlotFraction(
        (kPointLimitDb - std::clamp(db, -kPointLimitDb, kPointLimitDb)) / (2 * kPointLimitDb), 1.0);
    return Gdiplus::PointF(float(plotRect.left) +
                               float(plotRect.right - plotRect.left) * float(across),
                           float(plotRect.top) + float(plotRect.bottom - plotRect.top) * float(t));
}

int CProfileSpectrumEditorWnd::HitTestPoint(const RECT& plotRect, std::span<const double> points,
                                            POINT point)
{
    for (std::size_t j = 0; j < points.size(); ++j)
    {
        const Gdiplus::PointF c = ControlPointPosition(plotRect, j, points.size(), points[j]);
        const float dx = float(point.x) - c.X;
        const float dy = float(point.y) - c.Y;
        if (dx * dx + dy * dy <= kHitRadiusSquared)
        {
            return static_cast<int>(j);
        }
    }
    return -1;
}

int CProfileSpectrumEditorWnd::HitTestPoint(const RECT& plotRect, POINT point) const
{
    return HitTestPoint(plotRect, points, point);
}

COLORREF CProfileSpectrumEditorWnd::OwnColor(int curveMode)
{
    return curveMode == 1 ? kSideColor : kMidColor;
}

COLORREF CProfileSpectrumEditorWnd::OtherColor(int curveMode)
{
    return curveMode == 1 ? kMidColor : kSideColor;
}

COLORREF CProfileSpectrumEditorWnd::GlowColor(COLORREF own)
{
    return LiftChannels(own, 0.88f, 30.6f);
}

COLORREF CProfileSpectrumEditorWnd::GuideColor(COLORREF own)
{
    return LiftChannels(own, 0.82f, 45.9f);
}

COLORREF CProfileSpectrumEditorWnd::ActiveBodyColor(COLORREF own)
{
    return LiftChannels(own, 0.65f, 89.25f, 75.6f, 42.0f);
}

CProfileSpectrumEditorWnd::State CProfileSpectrumEditorWnd::GetState() const
{
    State state;
    state.size = ClientSizeOf(*this);
    state.sampleRate = sampleRate;
    state.fftSize = fftSize;
    state.curveMode = curveMode;
    state.edited = EditedInput();
    state.reference = ReferenceInput();
    state.dragIndex = dragIndex;
    state.dragging = dragging;
    return state;
}

void CProfileSpectrumEditorWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    if (state.size.cx <= 0 || state.size.cy <= 0)
    {
        return;
    }
    const RECT client{0, 0, state.size.cx, state.size.cy};
    const RECT plot = PlotRect(state.size);
    PaintProfileGraphBackground(graphics, client);
    DrawGrid(graphics, plot, state.sampleRate);
    DrawCurves(graphics, state, plot);
    DrawControlPoints(graphics, state, plot);
    DrawControlText(graphics, L"Drag the spline points to shape the saved spectrum.", {8.5f},
                    kHintText, Gdiplus::RectF(18, 6, 260, 12), Gdiplus::StringAlignmentNear,
                    Gdiplus::StringAlignmentNear);
    DrawControlText(graphics, L"Top = brighter / more energy, bottom = darker / less energy.",
                    {8.5f}, kLegendText, Gdiplus::RectF(18, REAL(client.bottom - 18), 280, 12),
                    Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear);
}

void CProfileSpectrumEditorWnd::OnPaint()
{
    PaintGraph(*this);
}

RECT CProfileSpectrumEditorWnd::ClientPlotRect() const
{
    return PlotRect(ClientSizeOf(*this));
}

void CProfileSpectrumEditorWnd::TrackLeave()
{
    if (trackingMouse)
    {
        return;
    }
    TRACKMOUSEEVENT request{};
    request.cbSize = sizeof(request);
    request.dwFlags = TME_LEAVE;
    request.hwndTrack = m_hWnd;
    trackingMouse = ::TrackMouseEvent(&request) != FALSE;
}

bool CProfileSpectrumEditorWnd::NotifyParent(UINT message)
{
    const HWND self = m_hWnd;
    const HWND parent = ::IsWindow(self) ? ::GetParent(self) : nullptr;
    if (parent == nullptr || !::IsWindow(parent))
    {
        return ::IsWindow(self) != FALSE;
    }
    ::SendMessage(parent, message, 0, 0);
    // The parent may have destroyed the editor, window or object, meanwhile.
    return ::IsWindow(self) != FALSE;
}

void CProfileSpectrumEditorWnd::OnLButtonDown(UINT flags, CPoint point)
{
    const int hit = HitTestPoint(ClientPlotRect(), point);
    if (hit >= 0)
    {
        dragIndex = hit;
        dragging = true;
        SetCapture();
        TrackLeave();
        Repaint();
    }
    CWnd::OnLButtonDown(flags, point);
}

void CProfileSpectrumEditorWnd::OnMouseMove(UINT flags, CPoint point)
{
    TrackLeave();
    if (dragging && dragIndex >= 0 && dragIndex < static_cast<int>(points.size()))
    {
        const RECT plot = ClientPlotRect();
        const int height = plot.bottom - plot.top;
        double value = 0.0;
        if (height > 0)
        {
            const double t = std::clamp(double(point.y - plot.top) / height, 0.0, 1.0);
            value =
                std::clamp(kPointLimitDb - 2 * kPointLimitDb * t, -kPointLimitDb, kPointLimitDb);
        }
        points[static_cast<std::size_t>(dragIndex)] = value;
        Repaint();
        if (!NotifyParent(WMU_SPECTRUM_POINTS_CHANGED))
        {
            return;
        }
    }
    CWnd::OnMouseMove(flags, point);
}

void CProfileSpectrumEditorWnd::OnLButtonUp(UINT flags, CPoint point)
{
    if (GetCapture() == this)
    {
        ::ReleaseCapture();
    }
    dragIndex = -1;
    dragging = false;
    Repaint();
    // A click without a drag reports too: the owner takes every release as the end of an edit.
    if (!NotifyParent(WMU_SPECTRUM_POINTS_CHANGED) || !NotifyParent(WMU_SPECTRUM_POINTS_COMMITTED))
    {
        return;
    }
    CWnd::OnLButtonUp(flags, point);
}

BOOL CProfileSpectrumEditorWnd::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    POINT point{};
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    if (HitTestPoint(ClientPlotRect(), point) >= 0)
    {
        ShowStandardCursor(IDC_HAND);
        return TRUE;
    }
    return CWnd::OnSetCursor(wnd, hitTest, message);
}

void CProfileSpectrumEditorWnd::OnMouseLeave()
{
    trackingMouse = false;
}
