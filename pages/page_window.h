#pragma once

#include "platform/mfc/afxwin.h"

// Window chores the mode pages share.

// Marks the whole client for the next paint, nothing erased; nothing before
// the window exists.
inline void RepaintWhole(const CWnd& window)
{
    if (::IsWindow(window.GetSafeHwnd()))
    {
        ::InvalidateRect(window.GetSafeHwnd(), nullptr, FALSE);
    }
}

// The setters' rule: store and repaint only when the value changes.
template <typename T, typename U> void StoreAndRepaint(const CWnd& window, T& field, const U& value)
{
    if (!(field == value))
    {
        field = value;
        RepaintWhole(window);
    }
}

// Asks for WM_MOUSELEAVE once the pointer leaves; true when it will come.
inline bool RequestMouseLeave(const CWnd& window)
{
    TRACKMOUSEEVENT request{};
    request.cbSize = sizeof(request);
    request.dwFlags = TME_LEAVE;
    request.hwndTrack = window.GetSafeHwnd();
    return ::TrackMouseEvent(&request) != FALSE;
}

// Creates `window` as the pages' custom windows are made: a class with
// horizontal and vertical redraw, the arrow cursor and no background brush,
// `name` as the window name and `style` (child, visible, clip-siblings and
// clip-children, plus what the caller adds); true when the window exists.
inline bool CreatePageWindow(CWnd& window, CWnd* parent, const RECT& rect, UINT id,
                             const wchar_t* name, DWORD extraStyle = 0)
{
    const LPCTSTR windowClass =
        AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW), nullptr);
    return window.CreateEx(0, windowClass, name,
                           WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | extraStyle,
                           rect, parent, id) &&
           ::IsWindow(window.GetSafeHwnd());
}

// Lets go of the mouse when `window` holds it. The loss reaches the window at
// once (WM_CAPTURECHANGED), so clear any press before calling this.
inline void ReleaseMouseHeldBy(const CWnd& window)
{
    if (::GetCapture() == window.GetSafeHwnd() && window.GetSafeHwnd() != nullptr)
    {
        ::ReleaseCapture();
    }
}

// Sends `message` to the parent of `window`, wParam the window's handle and
// lParam `payload`, which lives on the caller's stack for the call; nothing
// without a parent.
template <typename Payload>
void SendToParent(const CWnd& window, UINT message, const Payload& payload)
{
    const HWND self = window.GetSafeHwnd();
    const HWND parent = ::IsWindow(self) ? ::GetParent(self) : nullptr;
    if (parent != nullptr && ::IsWindow(parent))
    {
        ::SendMessageW(parent, message, reinterpret_cast<WPARAM>(self),
                       reinterpret_cast<LPARAM>(&payload));
    }
}
