#pragma once

#include "platform/gdiplus/gdiplus.h"
#include "platform/win32/win_types.h"

#include <optional>
#include <vector>

// The vertical scrolling that the card lists share (the realm selector panel
// and the add-on browser): content taller than the client scrolls with the
// wheel and a thin bar of its own along the right edge. Everything here is a
// pure function of the client size, the content height and the scroll
// offset, so the windows keep the fields and tests need no window.

// One card in client coordinates, scroll applied.
struct CardHitRect
{
    int column = 0;
    int index = 0;
    RECT rect{};
};

// The bar's track and thumb; both empty while the content fits.
struct CardScrollBar
{
    RECT trackRect{};
    RECT thumbRect{};
};

constexpr int kCardWheelStep = 108;

bool CardListScrollable(int contentHeight, int clientHeight);

// The offset held to [0, contentHeight - clientHeight] (0 while the content fits).
int ClampCardScroll(int offset, int contentHeight, int clientHeight);

CardScrollBar CardListScrollBar(int clientWidth, int clientHeight, int contentHeight,
                                int scrollOffset);

// The track widened by 3 px on each side: where the pointer is over the bar.
RECT CardScrollBarZone(int clientWidth, int clientHeight);

// The card under `point`: none inside the bar zone while scrollable, else the
// first row that holds it.
std::optional<CardHitRect> HitTestCards(const std::vector<CardHitRect>& rows, POINT point,
                                        int clientWidth, int clientHeight, int contentHeight);

// Where a thumb drag from `dragStartY` / `dragStartScroll` puts the content
// with the pointer at `y`; nothing while the thumb has under 1 px to travel.
std::optional<int> ThumbDragScroll(const CardScrollBar& bar, int y, int dragStartY,
                                   int dragStartScroll, int contentHeight, int clientHeight);

// Where a press on the track at `y` puts the content (the thumb centred on the
// pointer as far as the clamp allows); nothing while the thumb cannot travel.
std::optional<int> TrackJumpScroll(const CardScrollBar& bar, int y, int contentHeight,
                                   int clientHeight);

// One wheel message: up (a positive delta) one step towards the top, else one
// step down.
int WheelCardScroll(int offset, int delta, int contentHeight, int clientHeight);

// The pointer over the bar zone and over the thumb; both false while the
// content fits.
struct CardScrollHover
{
    bool bar = false;
    bool thumb = false;
};
CardScrollHover CardScrollHoverAt(const CardScrollBar& bar, POINT point, int clientWidth,
                                  int clientHeight, int contentHeight);

// The track and thumb, tinted by the accent; nothing while the content fits.
void PaintCardScrollBar(Gdiplus::Graphics& graphics, const CardScrollBar& bar, bool scrollable,
                        COLORREF accent, CardScrollHover hover, bool dragging);

// The scrolling fields of a card-list window, borrowed for one message, so
// that the panel and the browser answer the pointer alike.
struct CardScrollFields
{
    int& scrollOffset;
    int contentHeight = 0;
    CardScrollBar bar;
    bool& barHover;
    bool& thumbHover;
    bool& draggingThumb;
    int& dragStartY;
    int& dragStartScroll;
};

// A move while the thumb is dragged: true when it gave an offset (the caller
// repaints).
bool FollowCardThumbDrag(CardScrollFields fields, int y, int clientHeight);

// Any other move: the bar and thumb hover; true when either changed.
bool FollowCardBarHover(CardScrollFields fields, POINT point, int clientWidth, int clientHeight);

// A press: false when it is not the bar's (the caller looks for a card). On the
// thumb a drag starts where it is; elsewhere in the bar zone the content jumps
// first. `draggingThumb` tells the caller to capture the mouse and repaint; it
// stays clear when the thumb cannot travel.
bool PressCardScrollBar(CardScrollFields fields, POINT point, int clientWidth, int clientHeight);

// One wheel message while scrollable: true when the offset changed.
bool ApplyCardWheel(int& scrollOffset, int delta, int contentHeight, int clientHeight);
