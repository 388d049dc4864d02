#pragma once

#include "platform/win32/win_types.h"

#include <vector>

namespace brvl::win32
{

// An object that receives a window's messages in place of its class procedure
// (the framework's CWnd attaches itself this way). The window keeps a plain
// pointer; the object detaches itself no later than WM_NCDESTROY.
class WindowObject
{
public:
    virtual LRESULT ReceiveMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;

    // The framework's window object behind this receiver (a CWnd), if any.
    virtual void* FrameworkWindow() { return nullptr; }

protected:
    ~WindowObject() = default;
};

// Creates a window with `object` attached before its first message (WM_NCCREATE).
HWND CreateWindowWithObject(WindowObject* object, DWORD exStyle, LPCWSTR className,
                            LPCWSTR windowName, DWORD style, int x, int y, int width, int height,
                            HWND parent, UINT_PTR id, LPVOID param);
void AttachWindowObject(HWND hwnd, WindowObject* object);
void DetachWindowObject(HWND hwnd);
WindowObject* GetWindowObject(HWND hwnd);

// The procedure of the window's class: what "default processing" means for it.
WNDPROC GetClassProcedure(HWND hwnd);

// The children of a window, topmost first (a copy: safe to iterate while sending).
std::vector<HWND> ChildWindows(HWND parent);

// The message being processed on this thread, for the framework's Default().
const MSG* CurrentMessage();

} // namespace brvl::win32
