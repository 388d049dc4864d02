#include "tests/platform/test_windows.h"

#include <algorithm>

std::string MessageName(UINT message)
{
    static const std::map<UINT, std::string> names = {
        {WM_NCCREATE, "WM_NCCREATE"},
        {WM_CREATE, "WM_CREATE"},
        {WM_DESTROY, "WM_DESTROY"},
        {WM_NCDESTROY, "WM_NCDESTROY"},
        {WM_SIZE, "WM_SIZE"},
        {WM_MOVE, "WM_MOVE"},
        {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
        {WM_PAINT, "WM_PAINT"},
        {WM_ERASEBKGND, "WM_ERASEBKGND"},
        {WM_TIMER, "WM_TIMER"},
        {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
        {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
        {WM_LBUTTONUP, "WM_LBUTTONUP"},
        {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
        {WM_MOUSEWHEEL, "WM_MOUSEWHEEL"},
        {WM_MOUSELEAVE, "WM_MOUSELEAVE"},
        {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
        {WM_SETCURSOR, "WM_SETCURSOR"},
        {WM_SETFOCUS, "WM_SETFOCUS"},
        {WM_KILLFOCUS, "WM_KILLFOCUS"},
        {WM_KEYDOWN, "WM_KEYDOWN"},
        {WM_KEYUP, "WM_KEYUP"},
        {WM_CHAR, "WM_CHAR"},
        {WM_DROPFILES, "WM_DROPFILES"},
        {WM_CANCELMODE, "WM_CANCELMODE"},
        {WM_ENABLE, "WM_ENABLE"},
        {WM_DPICHANGED, "WM_DPICHANGED"},
    };
    const auto it = names.find(message);
    if (it != names.end())
    {
        return it->second;
    }
    if (message >= WM_APP)
    {
        return "WM_APP+" + std::to_string(message - WM_APP);
    }
    return "0x" + std::to_string(message);
}

std::vector<std::string> MessageLog::Of(std::initializer_list<UINT> messages) const
{
    std::vector<std::string> result;
    for (const LoggedMessage& e : entries)
    {
        if (std::find(messages.begin(), messages.end(), e.message) != messages.end())
        {
            result.push_back(e.window + ":" + MessageName(e.message));
        }
    }
    return result;
}

int MessageLog::Count(const std::string& window, UINT message) const
{
    return static_cast<int>(std::count_if(entries.begin(), entries.end(),
                                          [&](const LoggedMessage& e)
                                          { return e.window == window && e.message == message; }));
}

BOOL RecordingWnd::CreateChild(CWnd& parent, const RECT& rect, UINT id, UINT classStyle,
                               DWORD style)
{
    const LPCTSTR cls = AfxRegisterWndClass(classStyle, ::LoadCursor(nullptr, IDC_ARROW),
                                            static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)));
    return CreateEx(0, cls, L"BrimvaleTestWnd", style, rect, &parent, id);
}

BOOL RecordingWnd::CreateTopLevel(const RECT& screenRect, DWORD style, UINT classStyle)
{
    const LPCTSTR cls = AfxRegisterWndClass(classStyle, ::LoadCursor(nullptr, IDC_ARROW),
                                            static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)));
    return CreateEx(0, cls, L"BrimvaleTestTop", style, screenRect.left, screenRect.top,
                    screenRect.right - screenRect.left, screenRect.bottom - screenRect.top, nullptr,
                    nullptr);
}

LRESULT RecordingWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    m_log.entries.push_back(LoggedMessage{m_name, msg, wParam, lParam});
    const auto it = m_handlers.find(msg);
    if (it != m_handlers.end())
    {
        // Copy: the handler may replace itself or destroy this window.
        const Handler handler = it->second;
        if (const std::optional<LRESULT> result = handler(wParam, lParam))
        {
            return *result;
        }
    }
    return CWnd::WindowProc(msg, wParam, lParam);
}

POINT ScreenPoint(const CWnd& wnd, int x, int y)
{
    return brvl::backend::HeadlessBackend::ScreenPointOf(wnd.GetSafeHwnd(), x, y);
}
