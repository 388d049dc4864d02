#include "platform/win32/backend_bridge.h"
#include "platform/win32/backend_seam.h"
#include "platform/win32/window_system.h"

using namespace brvl::win32;

HWND SetCapture(HWND hwnd)
{
    WindowSystem& system = WindowSystem::Instance();
    const HWND previous = system.capture;
    if (!IsWindow(hwnd) || previous == hwnd)
    {
        return previous;
    }
    system.capture = hwnd;
    brvl::backend::CurrentBackend().CaptureChanged(hwnd);
    if (previous != nullptr)
    {
        Dispatch(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    }
    return previous;
}

BOOL ReleaseCapture()
{
    WindowSystem& system = WindowSystem::Instance();
    const HWND holder = system.capture;
    if (holder == nullptr)
    {
        return TRUE;
    }
    system.capture = nullptr;
    brvl::backend::CurrentBackend().CaptureChanged(nullptr);
    // Sent to the releasing window itself, before ReleaseCapture returns.
    Dispatch(holder, WM_CAPTURECHANGED, 0, 0);
    PostDueLeaves();
    return TRUE;
}

HWND GetCapture()
{
    return WindowSystem::Instance().capture;
}

HWND SetFocus(HWND hwnd)
{
    WindowSystem& system = WindowSystem::Instance();
    const HWND previous = system.focus;
    if (hwnd != nullptr && !IsWindow(hwnd))
    {
        return nullptr;
    }
    if (previous == hwnd)
    {
        return previous;
    }
    if (previous != nullptr && IsWindow(previous))
    {
        Dispatch(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    }
    system.focus = hwnd;
    if (hwnd != nullptr)
    {
        Dispatch(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    }
    return previous;
}

HWND GetFocus()
{
    return WindowSystem::Instance().focus;
}
