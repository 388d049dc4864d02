#include "platform/win32/backend_bridge.h"
#include "platform/win32/backend_seam.h"
#include "platform/win32/window_system.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>

namespace brvl::win32
{

namespace
{

LPARAM PackPoint(POINT pt)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(pt.x)),
                      static_cast<WORD>(static_cast<short>(pt.y)));
}

void SetHover(HWND hwnd)
{
    WindowSystem& system = WindowSystem::Instance();
    system.hover = hwnd;
    PostDueLeaves();
}

UINT ButtonFlag(int button)
{
    return button == 0 ? MK_LBUTTON : button == 1 ? MK_RBUTTON : MK_MBUTTON;
}

UINT ButtonMessage(int button, bool down)
{
    switch (button)
    {
    case 0:
        return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case 1:
        return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    default:
        return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    }
}

// A second left press on the same window, soon and near enough, is a double
// click; only CS_DBLCLKS classes hear it as one. A third press is plain.
UINT LeftDownMessage(HWND target, POINT screen)
{
    WindowSystem& system = WindowSystem::Instance();
    const std::uint64_t now = NowMs();
    const bool isDouble = system.clickArmed && target == system.lastClickWindow &&
                          now - system.lastClickTime <= kDoubleClickTimeMs &&
                          std::abs(screen.x - system.lastClickPoint.x) <= kDoubleClickBox / 2 &&
                          std::abs(screen.y - system.lastClickPoint.y) <= kDoubleClickBox / 2;
    if (isDouble)
    {
        system.clickArmed = false;
        const WindowPtr w = system.Find(target);
        const UINT classStyle = w && w->windowClass ? w->windowClass->style : 0;
        return (classStyle & CS_DBLCLKS) != 0 ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
    }
    system.clickArmed = true;
    system.lastClickWindow = target;
    system.lastClickTime = now;
    system.lastClickPoint = screen;
    return WM_LBUTTONDOWN;
}

void RouteMouse(const RawInput& input)
{
    WindowSystem& system = WindowSystem::Instance();
    system.cursorPos = input.screen;
    bool topLevelDisabled = false;
    const HWND under = HitTest(input.screen, &topLevelDisabled);
    SetHover(topLevelDisabled ? nullptr : under);

    const HWND target = system.capture != nullptr ? system.capture
                        : topLevelDisabled        ? nullptr
                                                  : under;
    if (input.kind == RawKind::ButtonDown)
    {
        system.buttons |= ButtonFlag(input.button);
    }
    else if (input.kind == RawKind::ButtonUp)
    {
        system.buttons &= ~ButtonFlag(input.button);
    }
    if (target == nullptr)
    {
        return; // nothing there, or input to a disabled top-level (a modal loop's owner)
    }

    UINT msg = WM_MOUSEMOVE;
    if (input.kind == RawKind::ButtonDown)
    {
        msg = input.button == 0 ? LeftDownMessage(target, input.screen)
                                : ButtonMessage(input.button, true);
    }
    else if (input.kind == RawKind::ButtonUp)
    {
        msg = ButtonMessage(input.button, false);
    }

    if (system.capture == nullptr)
    {
        SendMessageW(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                     MAKELPARAM(HTCLIENT, msg));
        if (!IsWindow(target))
        {
            return;
        }
    }
    const WPARAM flags = (input.modifiers & (MK_SHIFT | MK_CONTROL)) | system.buttons;
    MSG message{target, msg,         flags, PackPoint(ToClientPoint(target, input.screen)),
                0,      input.screen};
    DispatchQueuedMessage(message);
}

void RouteWheel(const RawInput& input)
{
    WindowSystem& system = WindowSystem::Instance();
    system.cursorPos = input.screen;
    bool topLevelDisabled = false;
    const HWND under = HitTest(input.screen, &topLevelDisabled);
    // Decision: to the capture window, else the window under the pointer (not the focus).
    const HWND target = system.capture != nullptr ? system.capture
                        : topLevelDisabled        ? nullptr
                                                  : under;
    if (target == nullptr)
    {
        return;
    }
    const UINT keys = (input.modifiers & (MK_SHIFT | MK_CONTROL)) | system.buttons;
    MSG message{target,
                WM_MOUSEWHEEL,
                MAKEWPARAM(keys, static_cast<WORD>(static_cast<short>(input.wheelDelta))),
                PackPoint(input.screen),
                0,
                input.screen};
    DispatchQueuedMessage(message);
}

void RouteKey(const RawInput& input)
{
    WindowSystem& system = WindowSystem::Instance();
    system.keyModifiers = input.modifiers;
    const HWND target = system.focus;
    if (target == nullptr || !IsWindow(target))
    {
        return;
    }
    const bool alt = (input.modifiers & kModifierAlt) != 0;
    if (input.kind == RawKind::KeyDown)
    {
        MSG down{target,          alt ? WM_SYSKEYDOWN : WM_KEYDOWN, input.virtualKey, 1, 0,
                 system.cursorPos};
        const bool taken = DispatchQueuedMessage(down);
        // Translation: the character the key types follows its key-down, unless
        // the key-down was taken before dispatch (an accelerator, a menu key).
        if (input.character != 0 && !alt && !taken && IsWindow(target))
        {
            MSG ch{target, WM_CHAR, static_cast<WPARAM>(input.character), 1, 0, system.cursorPos};
            DispatchQueuedMessage(ch);
        }
    }
    else
    {
        MSG up{target,
               alt ? WM_SYSKEYUP : WM_KEYUP,
               input.virtualKey,
               static_cast<LPARAM>(0xC0000001u),
               0,
               system.cursorPos};
        DispatchQueuedMessage(up);
    }
}

} // namespace

void PostDueLeaves()
{
    WindowSystem& system = WindowSystem::Instance();
    if (system.capture != nullptr)
    {
        return; // deferred until the capture is released
    }
    const std::set<HWND> armed = system.trackingLeave;
    for (HWND hwnd : armed)
    {
        if (hwnd != system.hover)
        {
            system.trackingLeave.erase(hwnd);
            PostMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
        }
    }
}

POINT ToClientPoint(HWND hwnd, POINT screen)
{
    POINT pt = screen;
    ScreenToClient(hwnd, &pt);
    return pt;
}

void RouteRawInput(const RawInput& input)
{
    switch (input.kind)
    {
    case RawKind::MouseMove:
    case RawKind::ButtonDown:
    case RawKind::ButtonUp:
        RouteMouse(input);
        break;
    case RawKind::Wheel:
        RouteWheel(input);
        break;
    case RawKind::KeyDown:
    case RawKind::KeyUp:
        RouteKey(input);
        break;
    case RawKind::Drop:
        RouteDrop(input);
        break;
    case RawKind::PointerLeft:
        SetHover(nullptr);
        break;
    }
}

void ForgetWindowInput(HWND hwnd)
{
    WindowSystem& system = WindowSystem::Instance();
    if (system.hover == hwnd)
    {
        system.hover = nullptr;
    }
    if (system.lastClickWindow == hwnd)
    {
        system.lastClickWindow = nullptr;
        system.clickArmed = false;
    }
    system.trackingLeave.erase(hwnd);
}

void QueueMouseMove(POINT screen, UINT modifiers)
{
    RawInput input;
    input.kind = RawKind::MouseMove;
    input.screen = screen;
    input.modifiers = modifiers;
    WindowSystem::Instance().QueueInput(std::move(input));
}

void QueueMouseButton(POINT screen, MouseButton button, bool down, UINT modifiers)
{
    RawInput input;
    input.kind = down ? RawKind::ButtonDown : RawKind::ButtonUp;
    input.screen = screen;
    input.button = static_cast<int>(button);
    input.modifiers = modifiers;
    WindowSystem::Instance().QueueInput(std::move(input));
}

void QueueMouseWheel(POINT screen, int delta, UINT modifiers)
{
    RawInput input;
    input.kind = RawKind::Wheel;
    input.screen = screen;
    input.wheelDelta = delta;
    input.modifiers = modifiers;
    WindowSystem::Instance().QueueInput(std::move(input));
}

void QueueKey(UINT virtualKey, bool down, wchar_t character, UINT modifiers)
{
    RawInput input;
    input.kind = down ? RawKind::KeyDown : RawKind::KeyUp;
    input.virtualKey = virtualKey;
    input.character = character;
    input.modifiers = modifiers & (MK_SHIFT | MK_CONTROL | kModifierAlt);
    WindowSystem::Instance().QueueInput(std::move(input));
}

void QueueDropFiles(POINT screen, std::vector<std::wstring> paths)
{
    RawInput input;
    input.kind = RawKind::Drop;
    input.screen = screen;
    input.paths = std::move(paths);
    WindowSystem::Instance().QueueInput(std::move(input));
}

void QueuePointerLeft()
{
    RawInput input;
    input.kind = RawKind::PointerLeft;
    WindowSystem::Instance().QueueInput(std::move(input));
}

} // namespace brvl::win32

using namespace brvl::win32;

BOOL TrackMouseEvent(TRACKMOUSEEVENT* request)
{
    if (request == nullptr || !IsWindow(request->hwndTrack))
    {
        return FALSE;
    }
    WindowSystem& system = WindowSystem::Instance();
    if ((request->dwFlags & TME_CANCEL) != 0)
    {
        system.trackingLeave.erase(request->hwndTrack);
        return TRUE;
    }
    if ((request->dwFlags & TME_LEAVE) != 0)
    {
        system.trackingLeave.insert(request->hwndTrack);
        PostDueLeaves(); // arming while the pointer is already outside posts at once
    }
    return TRUE;
}
