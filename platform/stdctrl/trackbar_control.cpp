// msctls_trackbar32: a horizontal slider with a range, a position, a tick
// frequency, and WM_HSCROLL reports to its parent for drags and keys.

#include "platform/gdiplus/gdiplus.h"
#include "platform/win32/control_messages.h"
#include "platform/win32/control_styles.h"
#include "platform/stdctrl/control_theme.h"
#include "platform/win32/palette.h"
#include "platform/win32/gdi.h"
#include "platform/stdctrl/standard_controls.h"
#include "platform/win32/window_system.h"

#include <algorithm>

namespace brvl::win32
{

namespace
{

constexpr int kThumbWidth = 10;
constexpr int kChannelHeight = 4;

struct TrackbarState
{
    int minimum = 0;
    int maximum = 100;
    int position = 0;
    int ticFrequency = 1;
    int pageSize = 20; // range / 5 unless set
    bool pageSizeSet = false;
    int lineSize = 1;
    bool dragging = false;
    int grabOffset = 0; // pointer x minus thumb centre at the press
};

ControlStateTable<TrackbarState>& Trackbars()
{
    static ControlStateTable<TrackbarState> table;
    return table;
}

void Report(HWND hwnd, WORD code, int position)
{
    const HWND parent = GetParent(hwnd);
    if (parent != nullptr)
    {
        SendMessageW(parent, WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(position)),
                     reinterpret_cast<LPARAM>(hwnd));
    }
}

// An action, then TB_ENDTRACK unless the parent destroyed the slider while it
// heard the action (the slider's state is gone with it).
void ReportAndEnd(HWND hwnd, WORD code, int position)
{
    Report(hwnd, code, position);
    if (IsWindow(hwnd))
    {
        Report(hwnd, TB_ENDTRACK, position);
    }
}

RECT Channel(HWND hwnd)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    const int middle = (client.top + client.bottom) / 2;
    return RECT{client.left + kThumbWidth / 2 + 2, middle - kChannelHeight / 2,
                client.right - kThumbWidth / 2 - 2, middle + kChannelHeight / 2};
}

int ThumbCentre(HWND hwnd, const TrackbarState& s)
{
    const RECT channel = Channel(hwnd);
    const int span = s.maximum - s.minimum;
    if (span <= 0)
    {
        return channel.left;
    }
    return channel.left + MulDiv(s.position - s.minimum, channel.right - channel.left, span);
}

int PositionAtX(HWND hwnd, const TrackbarState& s, int x)
{
    const RECT channel = Channel(hwnd);
    const int width = std::max<int>(1, channel.right - channel.left);
    const int span = s.maximum - s.minimum;
    return std::clamp(s.minimum + MulDiv(x - channel.left, span, width), s.minimum, s.maximum);
}

bool SetPosition(HWND hwnd, TrackbarState& s, int position)
{
    position = std::clamp(position, s.minimum, std::max(s.minimum, s.maximum));
    if (position == s.position)
    {
        return false;
    }
    s.position = position;
    InvalidateRect(hwnd, nullptr, FALSE);
    return true;
}

// A key or a click on the channel: move, then the action and TB_ENDTRACK.
void Step(HWND hwnd, TrackbarState& s, int delta, WORD code)
{
    SetPosition(hwnd, s, s.position + delta);
    ReportAndEnd(hwnd, code, s.position);
}

void Paint(HWND hwnd)
{
    PAINTSTRUCT ps{};
    const HDC dc = BeginPaint(hwnd, &ps);
    if (dc != nullptr)
    {
        const TrackbarState& s = Trackbars().Of(hwnd);
        RECT client{};
        GetClientRect(hwnd, &client);
        const bool enabled = IsWindowEnabled(hwnd) != FALSE;
        theme::FillSolid(dc, client, palette::kBackground);
        const RECT channel = Channel(hwnd);
        theme::FillSolid(dc, channel, palette::kField);
        const int centre = ThumbCentre(hwnd, s);
        theme::FillSolid(dc, RECT{channel.left, channel.top, centre, channel.bottom},
                         enabled ? palette::kAccent : palette::kSeparator);
        const DWORD style = GetWindowStyle(hwnd);
        const int span = s.maximum - s.minimum;
        if ((style & TBS_NOTICKS) == 0 && s.ticFrequency > 0 && span > 0)
        {
            for (int v = s.minimum; v <= s.maximum; v += s.ticFrequency)
            {
                const int x =
                    channel.left + MulDiv(v - s.minimum, channel.right - channel.left, span);
                theme::FillSolid(dc, RECT{x, client.bottom - 4, x + 1, client.bottom - 1},
                                 palette::kBorder);
                if ((style & TBS_BOTH) != 0)
                {
                    theme::FillSolid(dc, RECT{x, client.top + 1, x + 1, client.top + 4},
                                     palette::kBorder);
                }
            }
        }
        Gdiplus::Graphics g(dc);
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        const int height = std::min<int>(client.bottom - client.top - 4, 18);
        const Gdiplus::RectF thumb(Gdiplus::REAL(centre - kThumbWidth / 2) + 0.5f,
                                   Gdiplus::REAL((client.top + client.bottom - height) / 2) + 0.5f,
                                   Gdiplus::REAL(kThumbWidth - 1), Gdiplus::REAL(height - 1));
        Gdiplus::SolidBrush face(Gdiplus::ColorFromRef(!enabled     ? palette::kPanel
                                                       : s.dragging ? palette::kPressed
                                                                    : palette::kHover));
        Gdiplus::Pen edge(
            Gdiplus::ColorFromRef(GetFocus() == hwnd ? palette::kAccent : palette::kBorder), 1.0f);
        g.FillRectangle(&face, thumb);
        g.DrawRectangle(&edge, thumb);
    }
    EndPaint(hwnd, &ps);
}

void KeyDown(HWND hwnd, TrackbarState& s, UINT key)
{
    switch (key)
    {
    case VK_LEFT:
    case VK_UP:
        Step(hwnd, s, -s.lineSize, TB_LINEUP);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        Step(hwnd, s, s.lineSize, TB_LINEDOWN);
        break;
    case VK_PRIOR:
        Step(hwnd, s, -s.pageSize, TB_PAGEUP);
        break;
    case VK_NEXT:
        Step(hwnd, s, s.pageSize, TB_PAGEDOWN);
        break;
    case VK_HOME:
        Step(hwnd, s, s.minimum - s.position, TB_TOP);
        break;
    case VK_END:
        Step(hwnd, s, s.maximum - s.position, TB_BOTTOM);
        break;
    default:
        break;
    }
}

void ResetPageSize(TrackbarState& s)
{
    if (!s.pageSizeSet)
    {
        s.pageSize = std::max(1, (s.maximum - s.minimum) / 5);
    }
}

} // namespace

LRESULT TrackbarWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
    {
        SetFocus(hwnd);
        if (!IsWindow(hwnd))
        {
            return 0;
        }
        TrackbarState& s = Trackbars().Of(hwnd);
        const int x = GET_X_LPARAM(lParam);
        const int centre = ThumbCentre(hwnd, s);
        if (std::abs(x - centre) <= kThumbWidth / 2)
        {
            s.dragging = true;
            s.grabOffset = x - centre;
            SetCapture(hwnd);
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        else
        {
            // A click on the channel moves by a page toward the pointer.
            if (x < centre)
            {
                Step(hwnd, s, -s.pageSize, TB_PAGEUP);
            }
            else
            {
                Step(hwnd, s, s.pageSize, TB_PAGEDOWN);
            }
        }
        return 0;
    }
    case WM_MOUSEMOVE:
    {
        TrackbarState& s = Trackbars().Of(hwnd);
        if (s.dragging && GetCapture() == hwnd)
        {
            if (SetPosition(hwnd, s, PositionAtX(hwnd, s, GET_X_LPARAM(lParam) - s.grabOffset)))
            {
                Report(hwnd, TB_THUMBTRACK, s.position);
            }
        }
        return 0;
    }
    case WM_LBUTTONUP:
    {
        TrackbarState& s = Trackbars().Of(hwnd);
        if (s.dragging)
        {
            s.dragging = false;
            if (GetCapture() == hwnd)
            {
                ReleaseCapture();
            }
            InvalidateRect(hwnd, nullptr, FALSE);
            ReportAndEnd(hwnd, TB_THUMBPOSITION, s.position);
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
    {
        TrackbarState& s = Trackbars().Of(hwnd);
        if (s.dragging)
        {
            s.dragging = false;
            InvalidateRect(hwnd, nullptr, FALSE);
            Report(hwnd, TB_ENDTRACK, s.position);
        }
        return 0;
    }
    case WM_KEYDOWN:
        KeyDown(hwnd, Trackbars().Of(hwnd), static_cast<UINT>(wParam));
        return 0;
    case TBM_GETPOS:
        return Trackbars().Of(hwnd).position;
    case TBM_GETRANGEMIN:
        return Trackbars().Of(hwnd).minimum;
    case TBM_GETRANGEMAX:
        return Trackbars().Of(hwnd).maximum;
    case TBM_SETPOS:
    {
        TrackbarState& s = Trackbars().Of(hwnd);
        SetPosition(hwnd, s, static_cast<int>(lParam));
        return 0;
    }
    case TBM_SETRANGE:
    {
        TrackbarState& s = Trackbars().Of(hwnd);
        const int low = static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(lParam)));
        const int high = static_cast<SHORT>(HIWORD(static_cast<std::uintptr_t>(lParam)));
        s.minimum = std::min(low, high);
        s.maximum = std::max(low, high);
        ResetPageSize(s);
        s.position = std::clamp(s.position, s.minimum, s.maximum);
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    }
    case TBM_SETTICFREQ:
        Trackbars().Of(hwnd).ticFrequency = std::max(1, static_cast<int>(wParam));
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case TBM_SETPAGESIZE:
    {
        TrackbarState& s = Trackbars().Of(hwnd);
        const int previous = s.pageSize;
        s.pageSize = std::max(1, static_cast<int>(lParam));
        s.pageSizeSet = true;
        return previous;
    }
    case TBM_GETPAGESIZE:
        return Trackbars().Of(hwnd).pageSize;
    case TBM_SETLINESIZE:
    {
        TrackbarState& s = Trackbars().Of(hwnd);
        const int previous = s.lineSize;
        s.lineSize = std::max(1, static_cast<int>(lParam));
        return previous;
    }
    default:
        return DefControlProc(Trackbars(), &Paint, hwnd, msg, wParam, lParam);
    }
}

} // namespace brvl::win32
