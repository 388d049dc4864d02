#pragma once

#include "platform/win32/win_types.h"

#include <string>

// Menus: trees of items kept by handle, loaded from resources/menu/<id>.json or
// built by code. The menu bar and the popup menus draw them; nothing here is
// drawn. All calls belong to the interface thread.

constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;

constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_RETURNCMD = 0x0100;

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Loads menu `name` (MAKEINTRESOURCEW(id)); NULL when there is no such resource
// or it cannot be read.
HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name);
// Destroys the menu and every submenu in it.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCWSTR text);
BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCWSTR text);
BOOL ModifyMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCWSTR text);
// Removes the item; a submenu it held is destroyed (DeleteMenu) or kept (RemoveMenu).
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);

int GetMenuItemCount(HMENU menu);        // -1 for an invalid handle
UINT GetMenuItemID(HMENU menu, int pos); // -1 for a popup or a bad position
HMENU GetSubMenu(HMENU menu, int pos);
int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int count, UINT flags);
// MF_GRAYED | MF_CHECKED | MF_POPUP | MF_SEPARATOR bits of the item, -1 when missing.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
// The previous state (MF_GRAYED or MF_ENABLED, MF_CHECKED or MF_UNCHECKED), -1 when missing.
UINT EnableMenuItem(HMENU menu, UINT item, UINT enable);
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);

// A modal popup of `menu` at a screen point. With TPM_RETURNCMD it returns the
// chosen command (0 when dismissed) and sends nothing; otherwise the command
// goes to `owner` as WM_COMMAND and the result is TRUE when one was chosen.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                    const RECT* ignored);

#define LoadMenu LoadMenuW
#define AppendMenu AppendMenuW
#define InsertMenu InsertMenuW
#define ModifyMenu ModifyMenuW
#define GetMenuString GetMenuStringW

namespace brvl::win32
{

// The whole text of an item ("" for none).
std::wstring MenuItemText(HMENU menu, UINT item, UINT flags);

// "&Copy\tCtrl+C": the label "&Copy" and the accelerator text "Ctrl+C".
std::wstring MenuLabel(const std::wstring& text);
std::wstring MenuAcceleratorText(const std::wstring& text);
// The lower-case mnemonic letter of a label ("E&xit" -> 'x'); 0 for none.
wchar_t MenuMnemonic(const std::wstring& text);

} // namespace brvl::win32
