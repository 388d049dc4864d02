#include "pages/card_list_scroll.h"

#include "controls/base/painting_helpers.h"
#include "platform/win32/win_geometry.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace
{

constexpr int kBarInset = 16;   // the track's distance from the top and bottom edges
constexpr int kBarRight = 3;    // the track's distance from the right edge
constexpr int kBarWidth = 6;    // the track's width
constexpr int kZoneMargin = 3;  // the bar zone reaches this far either side of the track
constexpr int kLeastThumb = 28; // the shortest thumb
constexpr float kBarRadius = 3.0f;

// A single-precision result made whole towards zero, held inside int first so a
// huge quotient cannot overflow the conversion.
int Truncated(float value)
{
    if (!std::isfinite(value))
    {
        return 0;
    }
    constexpr float kLimit = float(INT_MAX / 2);
    return int(std::trunc(std::clamp(value, -kLimit, kLimit)));
}

int TrackHeight(const CardScrollBar& bar)
{
    return bar.trackRect.bottom - bar.trackRect.top;
}

int ThumbHeight(const CardScrollBar& bar)
{
    return bar.thumbRect.bottom - bar.thumbRect.top;
}

void FillRounded(Gdiplus::Graphics& graphics, const RECT& rect, const Gdiplus::Color& color)
{
    Gdiplus::GraphicsPath path;
    AddRoundedRectFigure(path, float(rect.left), float(rect.top), float(rect.right - rect.left),
                         float(rect.bottom - rect.top), kBarRadius);
    const Gdiplus::SolidBrush brush(color);
    graphics.FillPath(&brush, &path);
}

} // namespace

bool CardListScrollable(int contentHeight, int clientHeight)
{
    return contentHeight > clientHeight;
}

int ClampCardScroll(int offset, int contentHeight, int clientHeight)
{
    const int most =
        CardListScrollable(contentHeight, clientHeight)
            ? int(std::min<long long>(INT_MAX, (long long)contentHeight - clientHeight))
            : 0;
    return std::clamp(offset, 0, most);
}

CardScrollBar CardListScrollBar(int clientWidth, int clientHeight, int contentHeight,
                                int scrollOffset)
{
    CardScrollBar bar;
    if (!CardListScrollable(contentHeight, clientHeight) || contentHeight <= 0)
    {
        return bar;
    }
    const int width = clientWidth;
    const int height = clientHeight;
    const int trackHeight = height - 2 * kBarInset;
    bar.trackRect = {width - kBarRight - kBarWidth, kBarInset, width - kBarRight,
                     height - kBarInset};
    const int thumb =
        std::max(kLeastThumb, Truncated(float(height) / float(contentHeight) * float(trackHeight)));
    const int top = kBarInset + Truncated(float(scrollOffset) * float(trackHeight - thumb) /
                                          float(contentHeight - height));
    bar.thumbRect = {width - kBarRight - kBarWidth, top, width - kBarRight, top + thumb};
    return bar;
}

RECT CardScrollBarZone(int clientWidth, int clientHeight)
{
    return {clientWidth - kBarRight - kBarWidth - kZoneMargin, kBarInset, clientWidth,
            clientHeight - kBarInset};
}

std::optional<CardHitRect> HitTestCards(const std::vector<CardHitRect>& rows, POINT point,
                                        int clientWidth, int clientHeight, int contentHeight)
{
    const RECT zone = CardScrollBarZone(clientWidth, clientHeight);
    if (CardListScrollable(contentHeight, clientHeight) && ::PtInRect(&zone, point))
    {
        return std::nullopt;
    }
    for (const CardHitRect& row : rows)
    {
        if (::PtInRect(&row.rect, point))
        {
            return row;
        }
    }
    return std::nullopt;
}

std::optional<int> ThumbDragScroll(const CardScrollBar& bar, int y, int dragStartY,
                                   int dragStartScroll, int contentHeight, int clientHeight)
{
    const int travel = TrackHeight(bar) - ThumbHeight(bar);
    if (travel < 1)
    {
        return std::nullopt;
    }
    const int moved =
        Truncated(float(y - dragStartY) * float(contentHeight - clientHeight) / float(travel));
    const long long wanted = (long long)dragStartScroll + moved;
    return ClampCardScroll(int(std::clamp<long long>(wanted, INT_MIN, INT_MAX)), contentHeight,
                           clientHeight);
}

std::optional<int> TrackJumpScroll(const CardScrollBar& bar, int y, int contentHeight,
                                   int clientHeight)
{
    const int travel = TrackHeight(bar) - ThumbHeight(bar);
    if (travel <= 0)
    {
        return std::nullopt;
    }
    const int from = y - ThumbHeight(bar) / 2 - bar.trackRect.top;
    const int wanted = Truncated(float(from) * float(contentHeight - clientHeight) / float(travel));
    return ClampCardScroll(wanted, contentHeight, clientHeight);
}

int WheelCardScroll(int offset, int delta, int contentHeight, int clientHeight)
{
    const long long step = delta > 0 ? -kCardWheelStep : kCardWheelStep;
    const long long wanted = std::clamp<long long>((long long)offset + step, INT_MIN, INT_MAX);
    return ClampCardScroll(int(wanted), contentHeight, clientHeight);
}

CardScrollHover CardScrollHoverAt(const CardScrollBar& bar, POINT point, int clientWidth,
                                  int clientHeight, int contentHeight)
{
    if (!CardListScrollable(contentHeight, clientHeight))
    {
        return {};
    }
    const RECT zone = CardScrollBarZone(clientWidth, clientHeight);
    return {::PtInRect(&zone, point) != FALSE, ::PtInRect(&bar.thumbRect, point) != FALSE};
}

void PaintCardScrollBar(Gdiplus::Graphics& graphics, const CardScrollBar& bar, bool scrollable,
                        COLORREF accent, CardScrollHover hover, bool dragging)
{
    if (!scrollable)
    {
        return;
    }
    FillRounded(graphics, bar.trackRect, Gdiplus::Color(hover.bar ? 0x1CFFFFFF : 0x14FFFFFF));
    const BYTE alpha = dragging ? 224 : hover.thumb ? 196 : 138;
    FillRounded(graphics, bar.thumbRect, Gdiplus::ColorFromRef(accent, alpha));
}

bool FollowCardThumbDrag(CardScrollFields fields, int y, int clientHeight)
{
    const std::optional<int> scroll =
        ThumbDragScroll(fields.bar, y, fields.dragStartY, fields.dragStartScroll,
                        fields.contentHeight, clientHeight);
    if (!scroll)
    {
        return false;
    }
    fields.scrollOffset = *scroll;
    return true;
}

bool FollowCardBarHover(CardScrollFields fields, POINT point, int clientWidth, int clientHeight)
{
    // Both fall to false once the content fits, so a card can be hovered again.
    const CardScrollHover hover =
        CardScrollHoverAt(fields.bar, point, clientWidth, clientHeight, fields.contentHeight);
    if (hover.bar == fields.barHover && hover.thumb == fields.thumbHover)
    {
        return false;
    }
    fields.barHover = hover.bar;
    fields.thumbHover = hover.thumb;
    return true;
}

bool PressCardScrollBar(CardScrollFields fields, POINT point, int clientWidth, int clientHeight)
{
    const RECT zone = CardScrollBarZone(clientWidth, clientHeight);
    const bool onThumb = ::PtInRect(&fields.bar.thumbRect, point) != FALSE;
    if (!CardListScrollable(fields.contentHeight, clientHeight) ||
        !(onThumb || ::PtInRect(&zone, point)))
    {
        return false;
    }
    if (!onThumb)
    {
        const std::optional<int> jump =
            TrackJumpScroll(fields.bar, point.y, fields.contentHeight, clientHeight);
        if (!jump)
        {
            return true;
        }
        fields.scrollOffset = *jump;
    }
    fields.dragStartScroll = fields.scrollOffset;
    fields.dragStartY = point.y;
    fields.draggingThumb = true;
    return true;
}

bool ApplyCardWheel(int& scrollOffset, int delta, int contentHeight, int clientHeight)
{
    const int scroll = WheelCardScroll(scrollOffset, delta, contentHeight, clientHeight);
    if (scroll == scrollOffset)
    {
        return false;
    }
    scrollOffset = scroll;
    return true;
}
