#include "platform/mfc/wnd.h"

#include <cstdio>
#include <map>
#include <string>
#include <tuple>

LPCTSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    using Key = std::tuple<UINT, HCURSOR, HBRUSH, HICON>;
    static std::map<Key, std::wstring> names;
    const Key key{classStyle, cursor, background, icon};
    const auto it = names.find(key);
    if (it != names.end())
    {
        return it->second.c_str();
    }
    // Equal arguments give the same name, as MFC's generated "Afx:..." names do.
    wchar_t name[96];
    std::swprintf(name, std::size(name), L"Afx:%x:%zx:%zx:%zx", classStyle,
                  reinterpret_cast<std::size_t>(cursor), reinterpret_cast<std::size_t>(background),
                  reinterpret_cast<std::size_t>(icon));
    WNDCLASSW wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = &DefWindowProcW;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    RegisterClassW(&wc);
    return names.emplace(key, name).first->second.c_str();
}
