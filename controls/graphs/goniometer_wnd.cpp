#include "controls/graphs/goniometer_wnd.h"

#include "controls/base/client_state.h"
#include "controls/graphs/graph_window.h"
#include "controls/graphs/graph_feed.h"
#include "controls/graphs/graph_look.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

IMPLEMENT_DYNAMIC(CGoniometerWnd, CWnd)

BEGIN_MESSAGE_MAP(CGoniometerWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

namespace
{

using Gdiplus::REAL;

constexpr std::size_t kLeastFrames = 256;
constexpr double kSilentPeak = 1e-5;
constexpr REAL kDot = 2.4f;
constexpr REAL kReach = 0.92f; // how far full scale reaches towards the box's edge

} // namespace

std::vector<Gdiplus::PointF> GoniometerPoints(const AudioBuffer& audio, double cursorSec,
                                              double windowSec)
{
    std::vector<Gdiplus::PointF> points;
    if (!HasAudio(audio))
    {
        return points;
    }
    const std::size_t frames = WindowFrames(audio, windowSec, kLeastFrames);
    const FrameRange range = SymmetricWindow(audio, cursorSec, frames / 2);
    double peak = 0.0;
    for (std::size_t i = 2 * range.begin; i < 2 * range.end; ++i)
    {
        peak = std::max(peak, std::fabs(Finite(audio.samples[i])));
    }
    if (peak < kSilentPeak)
    {
        peak = 1.0;
    }
    points.reserve(range.size());
    for (std::size_t frame = range.begin; frame < range.end; ++frame)
    {
        const double left = Finite(audio.samples[2 * frame]) / peak;
        const double right = Finite(audio.samples[2 * frame + 1]) / peak;
        const double mid = std::clamp((left + right) / 2, -1.0, 1.0);
        const double side = std::clamp((right - left) / 2, -1.0, 1.0);
        points.emplace_back(REAL(side), REAL(mid));
    }
    return points;
}

BOOL CGoniometerWnd::Create(CWnd* parent, const RECT& rect, UINT id)
{
    return CreateGraphWindow(*this, parent, rect, id, L"BrimvaleGoniometerWnd");
}

CGoniometerWnd::State CGoniometerWnd::GetState() const
{
    State state;
    state.size = ClientSizeOf(*this);
    state.windowSec = windowSec;
    state.playing = playing;
    state.hasAudio = HasAudio(audio);
    state.sideMid = GoniometerPoints(audio, cursorSec, windowSec);
    return state;
}

void CGoniometerWnd::OnPaint()
{
    PaintGraph(*this);
}

void CGoniometerWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    const int right = state.size.cx;
    const int bottom = state.size.cy;
    PaintGraphBackground(graphics, RECT{0, 0, right, bottom});
    wchar_t title[64];
    std::swprintf(title, 64, L"Goniometer  %.0f ms", state.windowSec * 1000);
    DrawGraphTitle(graphics, title, Gdiplus::PointF(18, 10));

    const REAL boxLeft = 24;
    const REAL boxTop = 36;
    const REAL boxRight = REAL(right - 24);
    const REAL boxBottom = REAL(bottom - 18);
    const Gdiplus::Pen frame(Gdiplus::Color(kGraphPlotFrame), 1.0f);
    graphics.DrawRectangle(&frame, boxLeft, boxTop, boxRight - boxLeft, boxBottom - boxTop);
    const REAL cx = REAL(right / 2);
    const REAL cy = REAL((bottom + 18) / 2);
    const REAL halfWidth = REAL(int(boxRight - boxLeft) / 2);
    const REAL halfHeight = REAL(int(boxBottom - boxTop) / 2);
    const Gdiplus::Pen guide(Gdiplus::Color(kGraphGuide), 1.0f);
    graphics.DrawLine(&guide, cx, boxTop, cx, boxBottom);
    graphics.DrawLine(&guide, boxLeft, cy, boxRight, cy);
    graphics.DrawLine(&guide, boxLeft, boxBottom, boxRight, boxTop);
    graphics.DrawLine(&guide, boxLeft, boxTop, boxRight, boxBottom);
    if (state.sideMid.empty())
    {
        return;
    }

    std::vector<Gdiplus::PointF> screen;
    screen.reserve(state.sideMid.size());
    for (const Gdiplus::PointF& point : state.sideMid)
    {
        screen.emplace_back(cx + point.X * halfWidth * kReach, cy - point.Y * halfHeight * kReach);
    }
    const Gdiplus::SolidBrush dot(Gdiplus::Color(state.playing ? 0x3407F6F7 : 0x2207F6F7));
    for (const Gdiplus::PointF& point : screen)
    {
        graphics.FillEllipse(&dot, point.X - kDot / 2, point.Y - kDot / 2, kDot, kDot);
    }
    if (screen.size() >= 2)
    {
        const Gdiplus::Pen trace(Gdiplus::Color(0x6E07F6F7), 1.0f);
        DrawLongCurve(graphics, trace, screen, 0.35f);
    }
}
