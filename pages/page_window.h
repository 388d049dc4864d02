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
