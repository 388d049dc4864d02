#include "platform/win32/backend_bridge.h"
#include "platform/win32/backend_seam.h"
#include "platform/win32/window_system.h"

#include <cwchar>

namespace brvl::win32
{

namespace
{

void SendDpiChangeDown(HWND hwnd, UINT dpi, RECT* suggested)
{
    Dispatch(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(suggested));
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w)
    {
        return;
    }
    const std::vector<HWND> children = w->children;
    for (HWND child : children)
    {
        SendDpiChangeDown(child, dpi, suggested);
    }
}

} // namespace

void ChangeDpi(UINT dpi)
{
    WindowSystem& system = WindowSystem::Instance();
    if (dpi == 0 || dpi == system.dpi)
    {
        return;
    }
    system.dpi = dpi;
    // Decision: every descendant hears it too (Windows tells children otherwise).
    for (HWND top : std::vector<HWND>(system.topLevels))
    {
        RECT suggested{};
        GetWindowRect(top, &suggested);
        SendDpiChangeDown(top, dpi, &suggested);
    }
}

void BroadcastSettingChange()
{
    for (HWND top : std::vector<HWND>(WindowSystem::Instance().topLevels))
    {
        Dispatch(top, WM_SETTINGCHANGE, 0, 0);
    }
}

} // namespace brvl::win32

using namespace brvl::win32;

UINT GetDoubleClickTime()
{
    return kDoubleClickTimeMs;
}

UINT GetDpiForWindow(HWND)
{
    return WindowSystem::Instance().dpi;
}

int GetSystemMetrics(int index)
{
    const RECT screen = brvl::backend::CurrentBackend().ScreenRect();
    switch (index)
    {
    case SM_CXSCREEN:
        return screen.right - screen.left;
    case SM_CYSCREEN:
        return screen.bottom - screen.top;
    case SM_CXBORDER:
        return 1;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
        return kDoubleClickBox;
    case SM_CXDRAG:
    case SM_CYDRAG:
        return 4;
    default:
        return 0;
    }
}

BOOL SystemParametersInfoW(UINT action, UINT, void* param, UINT)
{
    auto* metrics = static_cast<NONCLIENTMETRICSW*>(param);
    if (action != SPI_GETNONCLIENTMETRICS || metrics == nullptr ||
        metrics->cbSize < sizeof(NONCLIENTMETRICSW))
    {
        return FALSE;
    }
    *metrics = NONCLIENTMETRICSW{};
    metrics->cbSize = sizeof(NONCLIENTMETRICSW);
    LOGFONTW& menu = metrics->lfMenuFont;
    menu.lfHeight = -MulDiv(9, static_cast<int>(WindowSystem::Instance().dpi), 72);
    menu.lfWeight = FW_NORMAL;
    menu.lfCharSet = DEFAULT_CHARSET;
    std::wcsncpy(menu.lfFaceName, L"Segoe UI", LF_FACESIZE - 1);
    return TRUE;
}
