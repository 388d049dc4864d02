#include "platform/win32/handler_errors.h"
#include "platform/win32/message_box.h"
#include "platform/win32/posted_payload.h"
#include "platform/win32/window_system.h"

#include "base/unicode_text.h"
#include "platform/win32/backend_seam.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <mutex>
#include <string>
#include <vector>

namespace brvl::win32
{

namespace
{

thread_local std::vector<const MSG*> t_messageStack;

struct CurrentMessageScope
{
    explicit CurrentMessageScope(const MSG* msg) { t_messageStack.push_back(msg); }
    ~CurrentMessageScope() { t_messageStack.pop_back(); }
};

std::mutex g_hookMutex;
HandlerExceptionHook g_hook;

// Failures of these messages would recur on every pass of the loop (WM_NULL
// stands for a backend, responder or idle callback, which has no message).
bool IsQuietMessage(UINT msg)
{
    return msg == WM_NULL || msg == WM_PAINT || msg == WM_ERASEBKGND || msg == WM_TIMER ||
           msg == WM_MOUSEMOVE || msg == WM_SETCURSOR;
}

} // namespace

const MSG* CurrentMessage()
{
    return t_messageStack.empty() ? nullptr : t_messageStack.back();
}

void ReportHandlerException(HWND hwnd, UINT msg, const char* what)
{
    const std::string text = what != nullptr ? what : "unknown exception";
    bool quiet = IsQuietMessage(msg);
    if (quiet)
    {
        if (const WindowPtr w = WindowSystem::Instance().Find(hwnd))
        {
            if (!w->loggedFailures.insert(msg).second)
            {
                return; // logged once already for this window and message
            }
        }
    }
    std::fprintf(stderr, "BRVL: exception in handler of message 0x%04X: %s\n", msg, text.c_str());
    HandlerExceptionHook hook;
    {
        std::lock_guard lock(g_hookMutex);
        hook = g_hook;
    }
    if (hook)
    {
        hook(hwnd, msg, text);
    }
    if (!quiet)
    {
        const std::wstring boxText = L"An unexpected error occurred:\n" + Utf8ToWide(text);
        MessageBoxW(IsWindow(hwnd) ? hwnd : nullptr, boxText.c_str(), L"BRVL", MB_ICONERROR);
    }
}

LRESULT Dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    WindowSystem::Instance().CheckUiThread();
    // Holding the record keeps it valid even if the handler destroys the window.
    const WindowPtr keep = WindowSystem::Instance().Find(hwnd);
    if (!keep)
    {
        return 0;
    }
    const MSG current{hwnd, msg, wParam, lParam, 0, {}};
    std::string failure;
    {
        CurrentMessageScope scope(&current);
        try
        {
            if (keep->object != nullptr)
            {
                return keep->object->ReceiveMessage(hwnd, msg, wParam, lParam);
            }
            const WNDPROC proc = keep->windowClass && keep->windowClass->proc != nullptr
                                     ? keep->windowClass->proc
                                     : &DefWindowProcW;
            return proc(hwnd, msg, wParam, lParam);
        }
        catch (const std::exception& e)
        {
            failure = e.what();
        }
        catch (...)
        {
            failure = "unknown exception";
        }
    }
    ReportHandlerException(hwnd, msg, failure.c_str());
    if (msg == WM_CREATE)
    {
        return -1; // a creation whose handler threw fails
    }
    return 0;
}

WNDPROC GetClassProcedure(HWND hwnd)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w || !w->windowClass || w->windowClass->proc == nullptr)
    {
        return &DefWindowProcW;
    }
    return w->windowClass->proc;
}

} // namespace brvl::win32

using namespace brvl::win32;

void SetHandlerExceptionHook(HandlerExceptionHook hook)
{
    std::lock_guard lock(g_hookMutex);
    g_hook = std::move(hook);
}

void RegisterPostedPayloadDeleter(UINT msg, PostedPayloadDeleter deleter)
{
    WindowSystem::Instance().SetPayloadDeleter(msg, deleter);
}

LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return Dispatch(hwnd, msg, wParam, lParam);
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return proc != nullptr ? proc(hwnd, msg, wParam, lParam) : 0;
}

LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w)
    {
        return 0;
    }
    switch (msg)
    {
    case WM_NCCREATE:
        return TRUE;
    case WM_PAINT:
    {
        PAINTSTRUCT ps{};
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return EraseWithClassBrush(hwnd, reinterpret_cast<HDC>(wParam)) ? 1 : 0;
    case WM_SETCURSOR:
    {
        // A child first lets its parent decide; then the class cursor shows.
        if (w->IsChildWindow() && SendMessageW(w->parent, WM_SETCURSOR, wParam, lParam) != FALSE)
        {
            return TRUE;
        }
        // Only the window under the pointer shows its class cursor; an ancestor
        // asked on a child's behalf leaves the choice to the child.
        if (reinterpret_cast<HWND>(wParam) == hwnd &&
            LOWORD(static_cast<std::uintptr_t>(lParam)) == HTCLIENT && w->windowClass &&
            w->windowClass->cursor != nullptr)
        {
            SetCursor(w->windowClass->cursor);
            return TRUE;
        }
        return FALSE;
    }
    case WM_MOUSEWHEEL:
    case WM_CONTEXTMENU:
        // Passed up the tree; the top-level is where it ends.
        if (w->IsChildWindow())
        {
            return SendMessageW(w->parent, msg, wParam, lParam);
        }
        return 0;
    case WM_RBUTTONUP:
    {
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(hwnd, &pt);
        SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd),
                     MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
        return 0;
    }
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_CANCELMODE:
        if (GetCapture() == hwnd)
        {
            ReleaseCapture();
        }
        return 0;
    case WM_SETTEXT:
        w->text = lParam != 0 ? reinterpret_cast<LPCWSTR>(lParam) : L"";
        if (!w->IsChildWindow())
        {
            brvl::backend::CurrentBackend().TopLevelChanged(hwnd);
        }
        return TRUE;
    case WM_GETTEXT:
    {
        auto* buffer = reinterpret_cast<LPWSTR>(lParam);
        const size_t capacity = static_cast<size_t>(wParam);
        if (buffer == nullptr || capacity == 0)
        {
            return 0;
        }
        const size_t n = std::min(capacity - 1, w->text.size());
        std::wmemcpy(buffer, w->text.data(), n);
        buffer[n] = L'\0';
        return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(w->text.size());
    default:
        return 0;
    }
}
