#include "grid/grid_offset_bar_wnd.h"

#include "controls/base/control_messages.h"
#include "controls/base/double_buffered_paint.h"
#include "controls/base/painting_helpers.h"

#include <algorithm>
#include <cstdint>
#include <climits>

IMPLEMENT_DYNAMIC(CGridOffsetBarWnd, CWnd)

BEGIN_MESSAGE_MAP(CGridOffsetBarWnd, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

namespace
{

constexpr int kTrackWidth = 6;
constexpr int kMinThumbLength = 28;
constexpr float kCornerRadius = 3.0f;
// Child, clip siblings, clip children; not visible until the owner shows it.
constexpr DWORD kBarStyle = 0x46000000;

// The white of the track, a little brighter under the pointer.
constexpr BYTE kTrackAlpha = 0x48;
constexpr BYTE kTrackHoverAlpha = 0x5C;

struct ThumbLook
{
    BYTE alpha;
    int darken; // taken off each channel, not below 0
};
constexpr ThumbLook kThumbIdle{138, 38};
constexpr ThumbLook kThumbHover{196, 0};
constexpr ThumbLook kThumbDragging{224, 14};

void FillRounded(Gdiplus::Graphics& graphics, const RECT& r, const Gdiplus::Color& color)
{
    Gdiplus::GraphicsPath path;
    AddRoundedRectFigure(path, static_cast<float>(r.left), static_cast<float>(r.top),
                         static_cast<float>(r.right - r.left), static_cast<float>(r.bottom - r.top),
                         kCornerRadius);
    const Gdiplus::SolidBrush brush(color);
    graphics.FillPath(&brush, &path);
}

} // namespace

BOOL CGridOffsetBarWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    const LPCTSTR windowClass =
        AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_HAND),
                            static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)));
    return CreateEx(0, windowClass, L"BrimvaleGridOffsetBarWnd", kBarStyle, rect, parent, id);
}

void CGridOffsetBarWnd::SetRange(int content, int view, int newOffset)
{
    content = std::max(content, 0);
    view = std::max(view, 0);
    newOffset = newOffset < 0 ? 0 : std::min(newOffset, std::max(0, content - view));
    if (content == contentExtent && view == viewExtent && newOffset == offset)
    {
        return;
    }
    contentExtent = content;
    viewExtent = view;
    offset = newOffset;
    RedrawNow();
}

CGridOffsetBarWnd::Geometry CGridOffsetBarWnd::ComputeGeometry(const RECT& client,
                                                               const State& state)
{
    Geometry g;
    const std::int64_t width = std::int64_t{client.right} - client.left;
    const std::int64_t height = std::int64_t{client.bottom} - client.top;
    if (width <= 0 || height <= 0)
    {
        return g;
    }
    if (state.vertical != 0)
    {
        const int left = static_cast<int>(client.left + (width - kTrackWidth) / 2);
        g.track = RECT{left, client.top, left + kTrackWidth, client.bottom};
        g.length = static_cast<int>(std::min<std::int64_t>(height, INT_MAX));
    }
    else
    {
        const int top = static_cast<int>(client.top + (height - kTrackWidth) / 2);
        g.track = RECT{client.left, top, client.right, top + kTrackWidth};
        g.length = static_cast<int>(std::min<std::int64_t>(width, INT_MAX));
    }
    const std::int64_t c = state.contentExtent;
    const std::int64_t v = state.viewExtent;
    g.range = c > v ? static_cast<int>(std::min<std::int64_t>(c - v, INT_MAX)) : 0;
    if (c > 0 && v > 0 && c > v)
    {
        const double fitted = static_cast<double>(v) / static_cast<double>(c) * g.length;
        g.thumbLength = std::min(std::max(static_cast<int>(fitted), kMinThumbLength), g.length);
        g.travel = std::max(g.length - g.thumbLength, 0);
        int start = 0;
        if (g.range > 0 && g.travel > 0)
        {
            const int at = std::clamp(state.offset, 0, g.range);
            start = static_cast<int>(static_cast<double>(at) / g.range * g.travel);
        }
        g.thumb = g.track;
        if (state.vertical != 0)
        {
            g.thumb.top = g.track.top + start;
            g.thumb.bottom = g.thumb.top + g.thumbLength;
        }
        else
        {
            g.thumb.left = g.track.left + start;
            g.thumb.right = g.thumb.left + g.thumbLength;
        }
    }
    else
    {
        g.thumbLength = g.length;
        g.thumb = g.track;
    }
    return g;
}

CGridOffsetBarWnd::Geometry CGridOffsetBarWnd::GetGeometry(const RECT& client) const
{
    return ComputeGeometry(client, GetState());
}

void CGridOffsetBarWnd::NotifyOffset()
{
    const HWND parent = ::GetParent(m_hWnd);
    if (parent != nullptr)
    {
        ::PostMessage(parent, WMU_CONTROL_COMMIT, vertical != 0 ? 1 : 0,
                      static_cast<LPARAM>(offset));
    }
}

CGridOffsetBarWnd::State CGridOffsetBarWnd::GetState() const
{
    State state;
    state.size = Client().Size();
    state.vertical = vertical;
    state.contentExtent = contentExtent;
    state.viewExtent = viewExtent;
    state.offset = offset;
    state.accent = accent;
    state.background = background;
    state.hoverBar = hoverBar;
    state.hoverThumb = hoverThumb;
    state.dragging = dragging;
    return state;
}

Gdiplus::Color CGridOffsetBarWnd::ThumbColor(COLORREF accent, bool dragging, bool hoverThumb)
{
    const ThumbLook look = dragging ? kThumbDragging : hoverThumb ? kThumbHover : kThumbIdle;
    const auto channel = [&](BYTE value)
    { return static_cast<BYTE>(std::max(value - look.darken, 0)); };
    return Gdiplus::Color(look.alpha, channel(GetRValue(accent)), channel(GetGValue(accent)),
                          channel(GetBValue(accent)));
}

void CGridOffsetBarWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    graphics.Clear(Gdiplus::ColorFromRef(state.background));
    const Geometry g = ComputeGeometry(RECT{0, 0, state.size.cx, state.size.cy}, state);
    if (g.range <= 0)
    {
        return;
    }
    FillRounded(graphics, g.track,
                Gdiplus::Color(state.hoverBar ? kTrackHoverAlpha : kTrackAlpha, 255, 255, 255));
    FillRounded(graphics, g.thumb, ThumbColor(state.accent, state.dragging, state.hoverThumb));
}

void CGridOffsetBarWnd::OnPaint()
{
    PaintDoubleBuffered(*this, [this](Gdiplus::Graphics& graphics, const RECT&)
                        { Draw(graphics, GetState()); });
}

void CGridOffsetBarWnd::FollowPointer(int along, const Geometry& geometry)
{
    const int trackStart = vertical != 0 ? geometry.track.top : geometry.track.left;
    int wanted = 0;
    if (geometry.range >= 1 && geometry.travel >= 1)
    {
        const std::int64_t d = std::int64_t{along} - trackStart - grabOffset;
        const std::int64_t held = std::clamp<std::int64_t>(d, 0, geometry.travel);
        wanted = static_cast<int>(static_cast<double>(held) / geometry.travel * geometry.range);
    }
    if (wanted != offset)
    {
        offset = wanted;
        NotifyOffset();
    }
}

void CGridOffsetBarWnd::OnLButtonDown(UINT flags, CPoint point)
{
    const CRect client = Client();
    if (client.PtInRect(point) && IsWindowEnabled())
    {
        SetCapture();
        dragging = true;
        const Geometry g = GetGeometry(client);
        const int along = vertical != 0 ? point.y : point.x;
        if (CRect(g.thumb).PtInRect(point))
        {
            grabOffset = along - (vertical != 0 ? g.thumb.top : g.thumb.left);
        }
        else
        {
            grabOffset = g.thumbLength / 2;
            FollowPointer(along, g);
        }
        RedrawNow();
    }
    CWnd::OnLButtonDown(flags, point);
}

void CGridOffsetBarWnd::OnMouseMove(UINT flags, CPoint point)
{
    const CRect client = Client();
    if (!IsWindowEnabled())
    {
        CWnd::OnMouseMove(flags, point);
        return;
    }
    if (dragging)
    {
        FollowPointer(vertical != 0 ? point.y : point.x, GetGeometry(client));
        RedrawNow();
    }
    const bool overBar = client.PtInRect(point) != FALSE;
    const bool overThumb = CRect(GetGeometry(client).thumb).PtInRect(point) != FALSE;
    if (overBar != hoverBar || overThumb != hoverThumb)
    {
        hoverBar = overBar;
        hoverThumb = overThumb;
        Invalidate(FALSE);
    }
    CWnd::OnMouseMove(flags, point);
}

void CGridOffsetBarWnd::OnLButtonUp(UINT flags, CPoint point)
{
    EndDrag();
    CWnd::OnLButtonUp(flags, point);
}

void CGridOffsetBarWnd::OnCaptureChanged(CWnd* wnd)
{
    EndDrag();
    CWnd::OnCaptureChanged(wnd);
}

void CGridOffsetBarWnd::EndDrag()
{
    if (!dragging)
    {
        return;
    }
    // Cleared first: giving the capture up comes back here as a capture change.
    dragging = false;
    grabOffset = 0;
    if (::GetCapture() == m_hWnd)
    {
        ::ReleaseCapture();
    }
    RedrawNow();
}

void CGridOffsetBarWnd::RedrawNow()
{
    if (::IsWindow(m_hWnd))
    {
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
}

CRect CGridOffsetBarWnd::Client() const
{
    CRect client;
    if (::IsWindow(m_hWnd))
    {
        GetClientRect(&client);
    }
    return client;
}
