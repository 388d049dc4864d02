#include "controls/base/control_text.h"
#include "controls/base/painting_helpers.h"
#include "controls/waveform/waveform_strip_wnd.h"

#include <algorithm>
#include <cmath>

namespace
{

using Gdiplus::REAL;

constexpr double kNoWidth = 1e-4;

bool HasArea(const RECT& rect)
{
    return rect.right > rect.left && rect.bottom > rect.top;
}

void FillRect(Gdiplus::Graphics& graphics, Gdiplus::ARGB color, int left, int top, int right,
              int bottom)
{
    if (right <= left || bottom <= top)
    {
        return;
    }
    const Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
    graphics.FillRectangle(&brush, left, top, right - left, bottom - top);
}

void VerticalLine(Gdiplus::Graphics& graphics, Gdiplus::ARGB color, REAL width, int x, int top,
                  int bottom)
{
    const Gdiplus::Pen pen(Gdiplus::Color(color), width);
    graphics.DrawLine(&pen, REAL(x), REAL(top), REAL(x), REAL(bottom));
}

void HorizontalLine(Gdiplus::Graphics& graphics, Gdiplus::ARGB color, int left, int right, int y)
{
    const Gdiplus::Pen pen(Gdiplus::Color(color), 1.0f);
    graphics.DrawLine(&pen, REAL(left), REAL(y), REAL(right), REAL(y));
}

void DrawFrame(Gdiplus::Graphics& graphics, const RECT& wave, int radius)
{
    Gdiplus::GraphicsPath frame;
    AddRoundedRectFigure(frame, REAL(wave.left), REAL(wave.top), REAL(wave.right - wave.left),
                         REAL(wave.bottom - wave.top), REAL(radius));
    const Gdiplus::LinearGradientBrush fill(Gdiplus::PointF(0, REAL(wave.top)),
                                            Gdiplus::PointF(0, REAL(wave.bottom)),
                                            Gdiplus::Color(0xFF1F2327), Gdiplus::Color(0xFF111316));
    graphics.FillPath(&fill, &frame);
    const Gdiplus::Pen edge(Gdiplus::Color(0xFF383E44), 1.0f);
    graphics.DrawPath(&edge, &frame);
    HorizontalLine(graphics, 0x30FFFFFF, wave.left + radius, wave.right - radius, wave.top + 1);
}

// One lane: a bar per pixel column, as tall as the loudest sample under it.
struct Lane
{
    const std::vector<float>* values;
    int centre;
    int halfHeight;
    Gdiplus::ARGB color;
};

void DrawLanes(Gdiplus::Graphics& graphics, const RECT& wave, const CWaveformStripWnd::State& state,
               const Lane (&lanes)[2])
{
    const int width = wave.right - wave.left;
    const double zoomWidth = state.zoom.Width() > kNoWidth ? state.zoom.Width() : state.duration;
    const double track = state.duration > kNoWidth ? state.duration : 1.0;
    const double step = zoomWidth / std::max(width - 1, 1);
    for (const Lane& lane : lanes)
    {
        const std::vector<float>& values = *lane.values;
        if (values.empty())
        {
            continue;
        }
        const Gdiplus::SolidBrush brush{Gdiplus::Color(lane.color)};
        const double last = static_cast<double>(values.size() - 1);
        for (int i = 0; i < width; ++i)
        {
            const double f = std::clamp((state.zoom.start + i * step) / track, 0.0, 1.0);
            const double held = values[std::size_t(last * f)];
            const double v = std::isfinite(held) ? std::clamp(held, 0.01, 1.0) : 0.01;
            const REAL half = REAL(v * lane.halfHeight);
            graphics.FillRectangle(&brush, REAL(wave.left + i), REAL(lane.centre) - half, 1.0f,
                                   2 * half);
        }
    }
}

void DrawWaveform(Gdiplus::Graphics& graphics, const RECT& wave,
                  const CWaveformStripWnd::State& state, bool hasPeaks)
{
    const int mid = (wave.top + wave.bottom) / 2;
    if (!hasPeaks)
    {
        const int k = wave.bottom - wave.top > 18 ? 6 : 3;
        HorizontalLine(graphics, 0x2AC4CCD4, wave.left + 10, wave.right - 10, mid - k);
        HorizontalLine(graphics, 0x2AC4CCD4, wave.left + 10, wave.right - 10, mid + k);
        return;
    }
    // Each lane's centre comes from its height before a short strip raises it.
    const int upperHalf = (mid - wave.top - 8) / 2;
    const int upperCentre = wave.top + 5 + upperHalf;
    const int lowerHalf = (wave.bottom - mid - 8) / 2;
    const int lowerCentre = mid + 3 + lowerHalf;
    HorizontalLine(graphics, 0x22BEC8D2, wave.left + 6, wave.right - 6, mid);
    const Lane lanes[2] = {
        {&state.peaks->left, upperCentre, std::max(upperHalf, 2), 0xBC96C3EB},
        {&state.peaks->right, lowerCentre, std::max(lowerHalf, 2), 0xB2E1C6AA},
    };
    DrawLanes(graphics, wave, state, lanes);
}

void DrawViewRange(Gdiplus::Graphics& graphics, const RECT& wave, const RECT& range)
{
    FillRect(graphics, 0x84060708, wave.left, wave.top, range.left, wave.bottom);
    FillRect(graphics, 0x84060708, range.right, wave.top, wave.right, wave.bottom);
    FillRect(graphics, 0x42A5583A, range.left, range.top, range.right, range.bottom);
    VerticalLine(graphics, 0x6CAAD7FF, 1.0f, range.left, wave.top, wave.bottom);
    VerticalLine(graphics, 0x6CAAD7FF, 1.0f, range.right, wave.top, wave.bottom);
}

void DrawProgress(Gdiplus::Graphics& graphics, const RECT& wave, const RECT& range,
                  const CWaveformStripWnd::State& state)
{
    FillRect(graphics, 0x84445C70, wave.left, wave.top, wave.right, wave.bottom);
    const int rangeWidth = range.right - range.left;
    const int filled = static_cast<int>(std::lround(rangeWidth * state.progressFraction));
    const int barWidth = std::min(std::max(filled, 2), rangeWidth);
    const Gdiplus::LinearGradientBrush bar(Gdiplus::PointF(REAL(range.left), 0),
                                           Gdiplus::PointF(REAL(range.left + barWidth), 0),
                                           Gdiplus::Color(0x9CDB516F), Gdiplus::Color(0xC4E86E7E));
    graphics.FillRectangle(&bar, range.left, range.top, barWidth, range.bottom - range.top);

    CString text;
    text.Format(L"%ls %d%%", static_cast<LPCTSTR>(state.progressText),
                static_cast<int>(std::lround(state.progressFraction * 100)));
    const Gdiplus::RectF box(REAL(wave.left), REAL(wave.top), REAL(wave.right - wave.left),
                             REAL(wave.bottom - wave.top));
    const ControlFont font{18, Gdiplus::FontStyleBold};
    const Gdiplus::RectF shadow(box.X + 1, box.Y + 1, box.Width, box.Height);
    DrawControlText(graphics, text, font, 0xB4080A0C, shadow);
    DrawControlText(graphics, text, font, 0xF2F4F0EC, box);
}

void DrawGrip(Gdiplus::Graphics& graphics, const RECT& wave, int x, bool lit)
{
    FillRect(graphics, lit ? 0xEBD2EBFF : 0x86AAD7FF, x - 1, wave.top + 4, x + 1, wave.bottom - 4);
}

} // namespace

void DrawWaveformStrip(Gdiplus::Graphics& graphics, const RECT& rect,
                       const CWaveformStripWnd::State& state)
{
    const CSize size(rect.right - rect.left, rect.bottom - rect.top);
    const WaveformLayout layout = LayoutWaveformStrip(size, state.systemBorderWidth);
    const RECT& wave = layout.waveRect;
    const Gdiplus::LinearGradientBrush background(
        Gdiplus::PointF(0, 0), Gdiplus::PointF(0, REAL(std::max<int>(size.cy, 1))),
        Gdiplus::Color(0xFF0F1113), Gdiplus::Color(0xFF15181B));
    graphics.FillRectangle(&background, 0, 0, size.cx, size.cy);
    DrawFrame(graphics, wave, layout.cornerRadius);

    const bool hasPeaks = state.peaks != nullptr && state.peaks->HasColumns();
    if (HasArea(wave))
    {
        DrawWaveform(graphics, wave, state, hasPeaks);
    }
    const int startX = TimeToX(state.view.start, wave, state.zoom);
    const int endX = TimeToX(state.view.end, wave, state.zoom);
    const RECT range = ViewRangeRect(wave, startX, endX);
    if (hasPeaks && !state.progressActive && HasArea(range))
    {
        DrawViewRange(graphics, wave, range);
    }
    if (state.progressActive && HasArea(range))
    {
        DrawProgress(graphics, wave, range, state);
    }
    if (!hasPeaks)
    {
        return;
    }
    const auto lit = [&](int zone) { return state.hoverZone == zone || state.dragZone == zone; };
    DrawGrip(graphics, wave, startX, lit(kZoneStartEdge));
    DrawGrip(graphics, wave, endX, lit(kZoneEndEdge));
    const int x = TimeToX(state.playhead, wave, state.zoom);
    VerticalLine(graphics, 0x52FFEFC4, REAL(layout.playheadWidth + 2), x, wave.top - 2,
                 wave.bottom + 2);
    VerticalLine(graphics, 0xF2FFEFC4, REAL(layout.playheadWidth), x, wave.top - 3,
                 wave.bottom + 3);
}
