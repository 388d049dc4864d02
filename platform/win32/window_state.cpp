#include "platform/win32/backend_seam.h"
#include "platform/win32/window_system.h"

#include <algorithm>
#include <cwchar>

using namespace brvl::win32;

namespace
{

void InvalidateVisibleTree(HWND hwnd)
{
    // Invalidation is ignored while hidden, so what was asked then is made up now.
    InvalidateRect(hwnd, nullptr, TRUE);
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w)
    {
        return;
    }
    for (HWND child : w->children)
    {
        if ((GetWindowStyle(child) & WS_VISIBLE) != 0)
        {
            InvalidateVisibleTree(child);
        }
    }
}

void MoveFocusOutOf(HWND hwnd)
{
    WindowSystem& system = WindowSystem::Instance();
    if (system.focus == nullptr || !IsInSubtree(hwnd, system.focus))
    {
        return;
    }
    HWND next = nullptr;
    if ((GetWindowStyle(hwnd) & WS_CHILD) != 0)
    {
        for (HWND a = GetParent(hwnd); a != nullptr;
             a = (GetWindowStyle(a) & WS_CHILD) != 0 ? GetParent(a) : nullptr)
        {
            if (IsVisibleChain(a))
            {
                next = a;
                break;
            }
        }
    }
    SetFocus(next);
}

} // namespace

BOOL ShowWindow(HWND hwnd, int cmd)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w)
    {
        return FALSE;
    }
    const bool wasVisible = (w->style & WS_VISIBLE) != 0;
    const bool show = cmd != SW_HIDE;
    if (wasVisible == show)
    {
        return wasVisible ? TRUE : FALSE;
    }
    Dispatch(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (!IsWindow(hwnd))
    {
        return wasVisible ? TRUE : FALSE;
    }
    if (show)
    {
        w->style |= WS_VISIBLE;
        InvalidateVisibleTree(hwnd);
    }
    else
    {
        InvalidateBeneath(hwnd);
        w->style &= ~WS_VISIBLE;
        // Hiding keeps capture; focus moves to the nearest visible ancestor.
        MoveFocusOutOf(hwnd);
    }
    if (!w->IsChildWindow())
    {
        brvl::backend::CurrentBackend().TopLevelChanged(hwnd);
    }
    return wasVisible ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd)
{
    return IsVisibleChain(hwnd) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable)
{
    WindowSystem& system = WindowSystem::Instance();
    const WindowPtr w = system.Find(hwnd);
    if (!w)
    {
        return FALSE;
    }
    const bool wasDisabled = (w->style & WS_DISABLED) != 0;
    if (wasDisabled == (enable == FALSE))
    {
        return wasDisabled ? TRUE : FALSE;
    }
    if (enable == FALSE)
    {
        w->style |= WS_DISABLED;
        // A disabled window (and everything in it) loses capture and focus.
        if (system.capture != nullptr && IsInSubtree(hwnd, system.capture))
        {
            const HWND holder = system.capture;
            Dispatch(holder, WM_CANCELMODE, 0, 0);
            if (system.capture == holder)
            {
                ReleaseCapture();
            }
        }
        if (system.focus != nullptr && IsInSubtree(hwnd, system.focus))
        {
            SetFocus(nullptr);
        }
    }
    else
    {
        w->style &= ~WS_DISABLED;
    }
    Dispatch(hwnd, WM_ENABLE, enable != FALSE ? TRUE : FALSE, 0);
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd)
{
    return IsEnabledChain(hwnd) ? TRUE : FALSE;
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text)
{
    if (!IsWindow(hwnd))
    {
        return FALSE;
    }
    return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0 ? TRUE : FALSE;
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int count)
{
    if (buffer == nullptr || count <= 0)
    {
        return 0;
    }
    buffer[0] = L'\0';
    return static_cast<int>(SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(count),
                                         reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND hwnd)
{
    return static_cast<int>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}
