#include "controls/sliders/slider_layout.h"

#include "platform/win32/win_geometry.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr int kHitMargin = 10;
constexpr int kThumbReach = 18;

// The track's two ends along its axis, as stored: the low end first (left,
// or bottom of a vertical track). In a slider too small for its track the
// ends cross.
struct TrackEnds
{
    int low;
    int high;
};

TrackEnds EndsOf(const SliderLayout& layout, SliderAxis axis)
{
    return axis == SliderAxis::Horizontal ? TrackEnds{layout.track.left, layout.track.right}
                                          : TrackEnds{layout.track.bottom, layout.track.top};
}

// std::clamp needs its bounds in order, and crossed ends do not give them.
template <typename T> T ClampBetween(T x, T a, T b)
{
    return std::clamp(x, std::min(a, b), std::max(a, b));
}

} // namespace

int SliderTrackMiddle(const SliderLayout& layout, SliderAxis axis)
{
    return axis == SliderAxis::Horizontal ? (layout.track.left + layout.track.right) / 2
                                          : (layout.track.top + layout.track.bottom) / 2;
}

SliderLayout MakeSliderLayout(const RECT& client, SliderAxis axis, double value, bool bipolar)
{
    const int left = client.left;
    const int right = client.right;
    const int bottom = client.bottom;
    SliderLayout layout;
    if (axis == SliderAxis::Horizontal)
    {
        layout.track = {left + 16, 44, right - 16, 52};
        layout.labelBox = {left + 10, 10, right - 10, 26};
        layout.valueBox = {right - 72, 10, right - 10, 26};
    }
    else
    {
        const int cx = left + static_cast<int>((right - left) * 0.5);
        layout.track = {cx - 4, 48, cx + 4, bottom - 50};
        layout.labelBox = {left + 8, 12, right - 8, 28};
        layout.valueBox = {left + 8, bottom - 34, right - 8, bottom - 14};
    }

    const float v = std::isnan(value) ? 0.0f : static_cast<float>(std::clamp(value, 0.0, 1.0));
    const TrackEnds ends = EndsOf(layout, axis);
    const float middle = static_cast<float>(SliderTrackMiddle(layout, axis));
    const float extent = static_cast<float>(ends.high - ends.low); // negative when vertical
    const float p = bipolar ? middle + extent * 0.5f * ((v - 0.5f) * 2.0f)
                            : static_cast<float>(ends.low) + v * extent;
    const int position = static_cast<int>(
        ClampBetween(p, static_cast<float>(ends.low), static_cast<float>(ends.high)));
    if (axis == SliderAxis::Horizontal)
    {
        layout.thumbX = position;
        layout.thumbY = 48;
    }
    else
    {
        layout.thumbX = layout.track.left + 4;
        layout.thumbY = position;
    }
    return layout;
}

double SliderValueAt(const SliderLayout& layout, SliderAxis axis, bool bipolar, POINT point)
{
    const bool horizontal = axis == SliderAxis::Horizontal;
    // Measured so that more is to the right, or upwards.
    const double low = horizontal ? layout.track.left : layout.track.top;
    const double high = horizontal ? layout.track.right : layout.track.bottom;
    const double at = ClampBetween(double(horizontal ? point.x : point.y), low, high);
    const double span = high - low;
    const double along = horizontal ? at - low : high - at;
    double v = 0.0;
    if (!bipolar)
    {
        v = span <= 0 ? 0.0 : along / span;
    }
    else
    {
        const double half = span * 0.5;
        const double middle = SliderTrackMiddle(layout, axis);
        const double fromMiddle = horizontal ? at - middle : middle - at;
        v = half <= 0 ? 0.5 : fromMiddle / half * 0.5 + 0.5;
    }
    return std::clamp(v, 0.0, 1.0);
}

bool InSliderHitArea(const SliderLayout& layout, POINT point)
{
    RECT grown = layout.track;
    ::InflateRect(&grown, kHitMargin, kHitMargin);
    const RECT thumb{layout.thumbX - kThumbReach, layout.thumbY - kThumbReach,
                     layout.thumbX + kThumbReach, layout.thumbY + kThumbReach};
    return ::PtInRect(&grown, point) || ::PtInRect(&thumb, point);
}
