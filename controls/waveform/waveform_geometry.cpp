#include "controls/waveform/waveform_geometry.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace
{

constexpr double kSameTime = 1e-4; // seconds closer than this are one time
constexpr double kLeastTrack = 0.001;

// A time held to 0..limit; negative times are 0.
double InTrack(double t, double limit)
{
    return t < 0 ? 0.0 : std::min(limit, t);
}

bool Contains(const RECT& rect, POINT point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
           point.y < rect.bottom;
}

} // namespace

TimeSpan ResolveZoom(double zoomStart, double zoomEnd, double duration)
{
    TimeSpan zoom;
    zoom.start = InTrack(zoomStart, duration);
    zoom.end = zoomEnd > zoom.start ? zoomEnd : duration;
    zoom.end = std::max(std::min(duration, zoom.end), zoom.start);
    return zoom;
}

TimeSpan ClampZoomRange(double start, double end, double duration)
{
    const double limit = std::max(duration, kLeastTrack);
    TimeSpan zoom{InTrack(start, limit), InTrack(end, limit)};
    if (zoom.Width() < kSameTime)
    {
        zoom = {0.0, limit};
    }
    return zoom;
}

TimeSpan ClampViewRange(double start, double end, double duration, double minWidth)
{
    const double limit = std::max(duration, kLeastTrack);
    TimeSpan view{InTrack(start, limit), InTrack(end, limit)};
    if (view.start > view.end)
    {
        std::swap(view.start, view.end);
    }
    const double least = std::min(minWidth, limit);
    if (view.Width() < least)
    {
        view.end = view.start + least;
        if (view.end > limit)
        {
            view.end = limit;
            view.start = std::max(limit - least, 0.0);
        }
    }
    return view;
}

TimeSpan FitSpan(double start, double width, double limit)
{
    TimeSpan span{start, start + width};
    if (span.start < 0)
    {
        span = {0.0, width};
    }
    if (span.end > limit)
    {
        span = {std::max(limit - width, 0.0), limit};
    }
    return span;
}

TimeSpan ZoomKeepingViewInSight(TimeSpan view, TimeSpan zoom, double duration)
{
    const double limit = std::max(duration, kLeastTrack);
    const double width = zoom.Width();
    if (width >= limit - kSameTime)
    {
        return {0.0, limit};
    }
    if (view.start >= zoom.start && view.end <= zoom.end)
    {
        return zoom;
    }
    const double centre = (view.start + view.end) / 2;
    return FitSpan(centre - width / 2, width, limit);
}

TimeSpan WheelZoomStep(TimeSpan view, TimeSpan zoom, double duration, int delta)
{
    const double limit = std::max(duration, kLeastTrack);
    const double centre = (view.start + view.end) / 2;
    const double floorWidth = std::min(std::max(1.35 * view.Width(), 0.35), limit);
    const double target = (delta > 0 ? 0.8 : 1.25) * zoom.Width();
    const double width = floorWidth > target ? floorWidth : std::min(limit, target);
    return FitSpan(centre - width / 2, width, limit);
}

int TimeToX(double t, const RECT& waveRect, TimeSpan zoom)
{
    const int width = waveRect.right - waveRect.left;
    if (width <= 0 || zoom.Width() <= kSameTime)
    {
        return waveRect.left;
    }
    double f = (t - zoom.start) / zoom.Width();
    f = std::isfinite(f) ? std::clamp(f, 0.0, 1.0) : 0.0;
    return waveRect.left + static_cast<int>(width * f);
}

double XToTime(int x, const RECT& waveRect, TimeSpan zoom, double duration)
{
    const int width = waveRect.right - waveRect.left;
    if (width <= 1)
    {
        return zoom.start;
    }
    const int column =
        std::clamp(x, static_cast<int>(waveRect.left), static_cast<int>(waveRect.right));
    const double f = static_cast<double>(column - waveRect.left) / width;
    return std::clamp(zoom.start + zoom.Width() * f, 0.0, duration);
}

WaveformLayout LayoutWaveformStrip(CSize client, int systemBorderWidth)
{
    WaveformLayout layout;
    const int height = client.cy;
    layout.clientRect = RECT{0, 0, client.cx, client.cy};
    layout.cornerRadius = std::clamp(height / 8, 6, 18);
    const int marginY = std::clamp(height / 8, 6, 28);
    const int marginX = std::clamp(height / 9, 8, 32);
    layout.gripSize = std::clamp(height / 7, 8, 18);
    layout.handleWidth = std::max(layout.gripSize + 6, 16);
    layout.playheadWidth = std::clamp(systemBorderWidth + 1, 2, 3);

    RECT& wave = layout.waveRect;
    wave = RECT{marginX, marginY, client.cx - marginX, height - marginY};
    if (wave.right - wave.left < 16)
    {
        wave.right = wave.left + std::min<int>(16, client.cx);
    }
    if (wave.bottom - wave.top < 12)
    {
        wave.bottom = wave.top + std::min(12, height);
    }
    return layout;
}

RECT ViewRangeRect(const RECT& waveRect, int startX, int endX)
{
    return RECT{startX, waveRect.top, std::max(endX, startX + 1), waveRect.bottom};
}

int HitTestWaveform(POINT point, const RECT& waveRect, bool hasPeaks, int startX, int endX,
                    int handleWidth, int gripSize)
{
    if (!hasPeaks)
    {
        return Contains(waveRect, point) ? kZoneTrack : kZoneOutside;
    }
    const RECT range = ViewRangeRect(waveRect, startX, endX);
    const int half = handleWidth / 2;
    const RECT startEdge{startX - half, waveRect.top - 1, startX + half, waveRect.bottom + 1};
    const RECT endEdge{endX - half, waveRect.top - 1, endX + half, waveRect.bottom + 1};
    if (Contains(range, point))
    {
        // Inside a narrow range the grips shrink so the body stays reachable.
        const int grip = std::clamp(gripSize, 6, 12);
        const int width = range.right - range.left;
        const int room = width > grip ? (width - grip) / 2 : 0;
        const int reach = std::min(gripSize / 2, room);
        if (reach <= 0)
        {
            return kZoneInsideRange;
        }
        if (point.x < range.left + reach)
        {
            return kZoneStartEdge;
        }
        return point.x >= range.right - reach ? kZoneEndEdge : kZoneInsideRange;
    }
    if (Contains(startEdge, point))
    {
        return kZoneStartEdge;
    }
    if (Contains(endEdge, point))
    {
        return kZoneEndEdge;
    }
    return Contains(waveRect, point) ? kZoneTrack : kZoneOutside;
}

RECT PlayheadBand(int x0, int x1, int playheadWidth, const RECT& waveRect, const RECT& clientRect)
{
    const RECT band{std::min(x0, x1) - playheadWidth - 2, waveRect.top - 5,
                    std::max(x0, x1) + playheadWidth + 2, waveRect.bottom + 5};
    RECT clipped{};
    ::IntersectRect(&clipped, &band, &clientRect); // an empty overlap is all zero
    return clipped;
}
