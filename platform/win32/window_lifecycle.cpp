#include "platform/win32/backend_seam.h"
#include "platform/win32/test_hooks.h"
#include "platform/win32/window_system.h"

#include <algorithm>

namespace brvl::win32
{

namespace
{

LONG ClampCoordinate(long long v)
{
    // Messages carry 16-bit coordinates.
    return static_cast<LONG>(std::clamp<long long>(v, -32768, 32767));
}

RECT ClampedRect(int x, int y, int width, int height)
{
    const LONG left = ClampCoordinate(x);
    const LONG top = ClampCoordinate(y);
    const LONG w = static_cast<LONG>(std::clamp<long long>(width, 0, 32767));
    const LONG h = static_cast<LONG>(std::clamp<long long>(height, 0, 32767));
    return RECT{left, top, left + w, top + h};
}

void Unlink(WindowRecord& w)
{
    WindowSystem& system = WindowSystem::Instance();
    if (w.IsChildWindow())
    {
        if (const WindowPtr parent = system.Find(w.parent))
        {
            auto& siblings = parent->children;
            siblings.erase(std::remove(siblings.begin(), siblings.end(), w.hwnd), siblings.end());
        }
    }
    else
    {
        auto& tops = system.topLevels;
        tops.erase(std::remove(tops.begin(), tops.end(), w.hwnd), tops.end());
    }
}

void SendDestroyTree(HWND hwnd)
{
    Dispatch(hwnd, WM_DESTROY, 0, 0);
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w)
    {
        return;
    }
    const std::vector<HWND> children = w->children;
    for (HWND child : children)
    {
        SendDestroyTree(child);
    }
}

void Finalize(WindowRecord& w)
{
    WindowSystem& system = WindowSystem::Instance();
    w.timers.clear();
    if (system.capture == w.hwnd)
    {
        // Decision: a destroyed holder loses capture without WM_CAPTURECHANGED.
        system.capture = nullptr;
        backend::CurrentBackend().CaptureChanged(nullptr);
    }
    if (system.focus == w.hwnd)
    {
        HWND next = nullptr;
        if (w.IsChildWindow())
        {
            // Within the same top-level only: never to an owner window.
            for (WindowPtr a = system.Find(w.parent); a;
                 a = a->IsChildWindow() ? system.Find(a->parent) : nullptr)
            {
                if (!a->destroying && IsVisibleChain(a->hwnd))
                {
                    next = a->hwnd;
                    break;
                }
            }
        }
        system.focus = next;
    }
    ForgetWindowInput(w.hwnd);
    Unlink(w);
    ReleaseBacking(w);
    const bool topLevel = !w.IsChildWindow();
    system.Unregister(w.hwnd);
    if (topLevel)
    {
        backend::CurrentBackend().TopLevelDestroyed(w.hwnd);
    }
}

void SendNcDestroyTree(HWND hwnd)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w)
    {
        return;
    }
    const std::vector<HWND> children = w->children;
    for (HWND child : children)
    {
        SendNcDestroyTree(child);
    }
    Dispatch(hwnd, WM_NCDESTROY, 0, 0);
    w->object = nullptr;
    Finalize(*w);
}

void MarkDestroying(const WindowPtr& w)
{
    w->destroying = true;
    for (HWND child : w->children)
    {
        if (const WindowPtr c = WindowSystem::Instance().Find(child))
        {
            MarkDestroying(c);
        }
    }
}

HWND CreateWindowImpl(WindowObject* object, DWORD exStyle, LPCWSTR className, LPCWSTR windowName,
                      DWORD style, int x, int y, int width, int height, HWND parent, UINT_PTR id,
                      HMENU menu, LPVOID param)
{
    WindowSystem& system = WindowSystem::Instance();
    system.NoteUiThread();
    const auto cls = system.classes.find(className != nullptr ? className : L"");
    if (cls == system.classes.end())
    {
        return nullptr;
    }
    const bool child = (style & WS_CHILD) != 0;
    if (child && !system.IsAlive(parent))
    {
        return nullptr;
    }
    if (!child && parent != nullptr && !system.IsAlive(parent))
    {
        return nullptr;
    }

    bool forcedFailure = false;
    if (system.failNextCreate > 0 && --system.failNextCreate == 0)
    {
        forcedFailure = true;
    }

    auto record = std::make_shared<WindowRecord>();
    record->windowClass = cls->second;
    record->style = style & ~WS_VISIBLE; // shown after WM_CREATE, as Windows does
    record->exStyle = exStyle;
    record->text = windowName != nullptr ? windowName : L"";
    record->id = child ? static_cast<int>(id) : 0;
    if (!child && x == CW_USEDEFAULT)
    {
        x = 0;
        y = 0;
    }
    if (!child && width == CW_USEDEFAULT)
    {
        width = 1280;
        height = 800;
    }
    record->rect = ClampedRect(x, y, width, height);
    if (child)
    {
        record->parent = parent;
    }
    else
    {
        record->owner = parent != nullptr ? TopLevelOf(parent) : nullptr;
    }
    record->object = object;

    const HWND hwnd = system.Register(record);
    if (child)
    {
        // A new child goes to the bottom: creation order is z-order from the top.
        system.Find(parent)->children.push_back(hwnd);
    }
    else
    {
        system.topLevels.insert(system.topLevels.begin(), hwnd);
        backend::CurrentBackend().TopLevelCreated(hwnd);
    }

    CREATESTRUCTW cs{};
    cs.lpCreateParams = param;
    cs.hMenu = menu;
    cs.hwndParent = parent;
    cs.x = record->rect.left;
    cs.y = record->rect.top;
    cs.cx = record->rect.right - record->rect.left;
    cs.cy = record->rect.bottom - record->rect.top;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;

    bool created = Dispatch(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) != FALSE;
    if (created && system.IsAlive(hwnd))
    {
        created =
            !forcedFailure && Dispatch(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) != -1;
    }
    if (!created || !system.IsAlive(hwnd))
    {
        DestroyWindow(hwnd);
        return nullptr;
    }

    const RECT client = ClientRectOf(*record);
    Dispatch(hwnd, WM_SIZE, SIZE_RESTORED,
             MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
    if (!system.IsAlive(hwnd))
    {
        return nullptr;
    }
    const RECT insets = FrameInsets(record->style, !child);
    Dispatch(hwnd, WM_MOVE, 0,
             MAKELPARAM(static_cast<WORD>(record->rect.left + insets.left),
                        static_cast<WORD>(record->rect.top + insets.top)));
    if (!system.IsAlive(hwnd))
    {
        return nullptr;
    }
    if ((style & WS_VISIBLE) != 0)
    {
        ShowWindow(hwnd, SW_SHOW);
    }
    return system.IsAlive(hwnd) ? hwnd : nullptr;
}

} // namespace

WindowRecord::~WindowRecord()
{
    ReleaseBacking(*this);
}

HWND CreateWindowWithObject(WindowObject* object, DWORD exStyle, LPCWSTR className,
                            LPCWSTR windowName, DWORD style, int x, int y, int width, int height,
                            HWND parent, UINT_PTR id, LPVOID param)
{
    return CreateWindowImpl(object, exStyle, className, windowName, style, x, y, width, height,
                            parent, id, nullptr, param);
}

void AttachWindowObject(HWND hwnd, WindowObject* object)
{
    if (const WindowPtr w = WindowSystem::Instance().Find(hwnd))
    {
        w->object = object;
    }
}

void DetachWindowObject(HWND hwnd)
{
    if (const WindowPtr w = WindowSystem::Instance().Find(hwnd))
    {
        w->object = nullptr;
    }
}

WindowObject* GetWindowObject(HWND hwnd)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    return w ? w->object : nullptr;
}

} // namespace brvl::win32

using namespace brvl::win32;

BOOL RegisterClassW(const WNDCLASSW* wc)
{
    if (wc == nullptr || wc->lpszClassName == nullptr || wc->lpszClassName[0] == L'\0')
    {
        return FALSE;
    }
    WindowSystem& system = WindowSystem::Instance();
    if (system.classes.count(wc->lpszClassName) != 0)
    {
        return FALSE;
    }
    auto cls = std::make_shared<WindowClass>();
    cls->name = wc->lpszClassName;
    cls->style = wc->style;
    cls->proc = wc->lpfnWndProc;
    cls->cursor = wc->hCursor;
    cls->background = wc->hbrBackground;
    cls->icon = wc->hIcon;
    system.classes.emplace(cls->name, cls);
    return TRUE;
}

BOOL GetClassInfoW(HINSTANCE, LPCWSTR className, WNDCLASSW* wc)
{
    WindowSystem& system = WindowSystem::Instance();
    const auto it = system.classes.find(className != nullptr ? className : L"");
    if (it == system.classes.end() || wc == nullptr)
    {
        return FALSE;
    }
    *wc = WNDCLASSW{};
    wc->style = it->second->style;
    wc->lpfnWndProc = it->second->proc;
    wc->hCursor = it->second->cursor;
    wc->hbrBackground = it->second->background;
    wc->hIcon = it->second->icon;
    wc->lpszClassName = it->second->name.c_str();
    return TRUE;
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menuOrId, HINSTANCE,
                     LPVOID param)
{
    const bool child = (style & WS_CHILD) != 0;
    return CreateWindowImpl(nullptr, exStyle, className, windowName, style, x, y, width, height,
                            parent, child ? reinterpret_cast<UINT_PTR>(menuOrId) : 0,
                            child ? nullptr : menuOrId, param);
}

BOOL DestroyWindow(HWND hwnd)
{
    WindowSystem& system = WindowSystem::Instance();
    const WindowPtr w = system.Find(hwnd);
    if (!w)
    {
        return FALSE;
    }
    if (w->destroying)
    {
        return TRUE;
    }
    // Owned top-levels go first.
    const std::vector<HWND> tops = system.topLevels;
    for (HWND top : tops)
    {
        if (const WindowPtr t = system.Find(top); t && t->owner == hwnd)
        {
            DestroyWindow(top);
        }
    }
    if ((w->style & WS_VISIBLE) != 0)
    {
        InvalidateBeneath(hwnd);
    }
    MarkDestroying(w);
    SendDestroyTree(hwnd);
    SendNcDestroyTree(hwnd);
    return TRUE;
}

void FailNextCreate(int n)
{
    WindowSystem::Instance().failNextCreate = n;
}

void FailNextDeferWindowPos()
{
    WindowSystem::Instance().failNextDefer = true;
}
