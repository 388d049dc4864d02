#include "platform/win32/backend_bridge.h"
#include "platform/win32/backend_seam.h"
#include "platform/win32/window_system.h"

#include <algorithm>
#include <cwchar>

namespace brvl::win32
{

namespace
{

struct DropRecord
{
    std::vector<std::wstring> paths;
    POINT point{};
};

void FreeDropRecord(WPARAM wParam, LPARAM)
{
    delete reinterpret_cast<DropRecord*>(wParam);
}

HWND DropTarget(POINT screen)
{
    bool topLevelDisabled = false;
    HWND hwnd = HitTest(screen, &topLevelDisabled);
    if (topLevelDisabled)
    {
        return nullptr;
    }
    while (hwnd != nullptr)
    {
        if ((GetWindowExStyle(hwnd) & WS_EX_ACCEPTFILES) != 0)
        {
            return hwnd;
        }
        hwnd = (GetWindowStyle(hwnd) & WS_CHILD) != 0 ? GetParent(hwnd) : nullptr;
    }
    return nullptr;
}

} // namespace

void RouteDrop(const RawInput& input)
{
    const HWND target = input.target != nullptr ? input.target : DropTarget(input.screen);
    if (target == nullptr || input.paths.empty())
    {
        return; // refused
    }
    WindowSystem::Instance().SetPayloadDeleter(WM_DROPFILES, &FreeDropRecord);
    auto* record = new DropRecord{input.paths, ToClientPoint(target, input.screen)};
    if (!PostMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(record), 0))
    {
        delete record;
    }
}

} // namespace brvl::win32

using namespace brvl::win32;

void DragAcceptFiles(HWND hwnd, BOOL accept)
{
    if (const WindowPtr w = WindowSystem::Instance().Find(hwnd))
    {
        if (accept != FALSE)
        {
            w->exStyle |= WS_EX_ACCEPTFILES;
        }
        else
        {
            w->exStyle &= ~WS_EX_ACCEPTFILES;
        }
    }
}

UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR buffer, UINT count)
{
    const auto* record = reinterpret_cast<const DropRecord*>(drop);
    if (record == nullptr)
    {
        return 0;
    }
    if (index == 0xFFFFFFFFu)
    {
        return static_cast<UINT>(record->paths.size());
    }
    if (index >= record->paths.size())
    {
        return 0;
    }
    const std::wstring& path = record->paths[index];
    if (buffer == nullptr || count == 0)
    {
        return static_cast<UINT>(path.size());
    }
    const size_t n = std::min<size_t>(count - 1, path.size());
    std::wmemcpy(buffer, path.data(), n);
    buffer[n] = L'\0';
    return static_cast<UINT>(n);
}

BOOL DragQueryPoint(HDROP drop, POINT* pt)
{
    const auto* record = reinterpret_cast<const DropRecord*>(drop);
    if (record == nullptr || pt == nullptr)
    {
        return FALSE;
    }
    *pt = record->point;
    return TRUE;
}

void DragFinish(HDROP drop)
{
    delete reinterpret_cast<DropRecord*>(drop);
}
