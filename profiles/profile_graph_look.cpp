#include "profiles/profile_graph_look.h"

#include "controls/graphs/graph_look.h"
#include "controls/graphs/graph_window.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr Gdiplus::ARGB kBackgroundTop = 0xFF101216;
constexpr Gdiplus::ARGB kBackgroundBottom = 0xFF0A0B0E;
constexpr Gdiplus::ARGB kFrame = 0x16FFFFFF;

BYTE LiftedChannel(BYTE channel, float scale, float lift)
{
    const float whole = std::trunc(scale * static_cast<float>(channel) + lift);
    // Held before the cast: a NaN or out-of-range result would not fit a byte.
    return whole > 0.0f ? static_cast<BYTE>(std::min(whole, 255.0f)) : BYTE(0);
}

} // namespace

BOOL CreateProfileGraphWindow(CWnd& graph, CWnd* parent, const RECT& rect, UINT id,
                              LPCTSTR windowName)
{
    return CreateGraphWindow(graph, parent, rect, id, windowName,
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
}

void PaintProfileGraphBackground(Gdiplus::Graphics& graphics, const RECT& client)
{
    PaintGraphBackground(graphics, client, kBackgroundTop, kBackgroundBottom);
    const Gdiplus::Pen frame{Gdiplus::Color(kFrame), 1.0f};
    graphics.DrawRectangle(&frame, Gdiplus::REAL(client.left), Gdiplus::REAL(client.top),
                           Gdiplus::REAL(client.right - client.left - 1),
                           Gdiplus::REAL(client.bottom - client.top - 1));
}

COLORREF LiftChannels(COLORREF color, float scale, float liftRed, float liftGreen, float liftBlue)
{
    return RGB(LiftedChannel(GetRValue(color), scale, liftRed),
               LiftedChannel(GetGValue(color), scale, liftGreen),
               LiftedChannel(GetBValue(color), scale, liftBlue));
}
