#include "platform/stdctrl/standard_controls.h"

#include "platform/win32/window_api.h"

#include <cwctype>
#include <string>

namespace brvl::win32
{

namespace
{

struct ClassEntry
{
    const wchar_t* name;
    WNDPROC proc;
    UINT style;
    LPCWSTR cursor;
};

const ClassEntry kClasses[] = {
    {kButtonClass, &ButtonWindowProc, CS_HREDRAW | CS_VREDRAW, IDC_ARROW},
    {kEditClass, &EditWindowProc, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, IDC_ARROW},
    {kStaticClass, &StaticWindowProc, CS_HREDRAW | CS_VREDRAW, IDC_ARROW},
    {kComboBoxClass, &ComboBoxWindowProc, CS_HREDRAW | CS_VREDRAW, IDC_ARROW},
    {kComboListClass, &ComboListWindowProc, CS_HREDRAW | CS_VREDRAW, IDC_ARROW},
    {kTrackbarClass, &TrackbarWindowProc, CS_HREDRAW | CS_VREDRAW, IDC_ARROW},
    {kTooltipClass, &TooltipWindowProc, CS_HREDRAW | CS_VREDRAW, IDC_ARROW},
    {kDialogClass, &DialogWindowProc, 0, IDC_ARROW},
};

bool EqualNoCase(const wchar_t* a, const wchar_t* b)
{
    for (; *a != 0 && *b != 0; ++a, ++b)
    {
        if (std::towlower(static_cast<wint_t>(*a)) != std::towlower(static_cast<wint_t>(*b)))
        {
            return false;
        }
    }
    return *a == *b;
}

} // namespace

void RegisterStandardControlClasses()
{
    for (const ClassEntry& entry : kClasses)
    {
        WNDCLASSW existing{};
        if (GetClassInfoW(nullptr, entry.name, &existing))
        {
            continue;
        }
        WNDCLASSW wc{};
        wc.style = entry.style;
        wc.lpfnWndProc = entry.proc;
        wc.hCursor = LoadCursorW(nullptr, entry.cursor);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        wc.lpszClassName = entry.name;
        RegisterClassW(&wc);
    }
}

const wchar_t* StandardClassName(const wchar_t* name)
{
    if (name == nullptr)
    {
        return name;
    }
    for (const ClassEntry& entry : kClasses)
    {
        if (EqualNoCase(entry.name, name))
        {
            return entry.name;
        }
    }
    return name;
}

void NotifyParent(HWND control, WORD code)
{
    const HWND parent = GetParent(control);
    if (parent == nullptr)
    {
        return;
    }
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(control)), code),
                 reinterpret_cast<LPARAM>(control));
}

} // namespace brvl::win32
