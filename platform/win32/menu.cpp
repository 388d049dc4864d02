#include "platform/win32/menu.h"

#include "base/unicode_text.h"
#include "platform/win32/resource_data.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cwctype>
#include <map>
#include <memory>
#include <vector>

namespace
{

struct MenuItem
{
    UINT flags = 0; // MF_GRAYED | MF_CHECKED | MF_POPUP | MF_SEPARATOR
    UINT id = 0;
    std::wstring text;
    HMENU popup = nullptr;
};

struct MenuRecord
{
    std::vector<MenuItem> items;
};

std::map<HMENU, std::unique_ptr<MenuRecord>>& Menus()
{
    static std::map<HMENU, std::unique_ptr<MenuRecord>> menus;
    return menus;
}

MenuRecord* FindMenu(HMENU menu)
{
    auto& menus = Menus();
    const auto it = menus.find(menu);
    return it != menus.end() ? it->second.get() : nullptr;
}

HMENU NewMenu()
{
    static std::uintptr_t next = 0x4D000;
    const HMENU handle = reinterpret_cast<HMENU>(++next);
    Menus()[handle] = std::make_unique<MenuRecord>();
    return handle;
}

// The item addressed by position or by command (searched depth first, as
// Windows does); the menu that holds it comes back through `owner`.
MenuItem* FindItem(HMENU menu, UINT item, UINT flags, MenuRecord** owner = nullptr)
{
    MenuRecord* record = FindMenu(menu);
    if (record == nullptr)
    {
        return nullptr;
    }
    if ((flags & MF_BYPOSITION) != 0)
    {
        if (item >= record->items.size())
        {
            return nullptr;
        }
        if (owner != nullptr)
        {
            *owner = record;
        }
        return &record->items[item];
    }
    for (MenuItem& entry : record->items)
    {
        if ((entry.flags & MF_POPUP) != 0)
        {
            if (MenuItem* inner = FindItem(entry.popup, item, flags, owner))
            {
                return inner;
            }
        }
        else if ((entry.flags & MF_SEPARATOR) == 0 && entry.id == item)
        {
            if (owner != nullptr)
            {
                *owner = record;
            }
            return &entry;
        }
    }
    return nullptr;
}

bool FillItem(MenuItem& entry, UINT flags, UINT_PTR idOrPopup, LPCWSTR text)
{
    entry.flags = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_SEPARATOR);
    entry.text = (flags & MF_SEPARATOR) != 0 || text == nullptr ? L"" : text;
    if ((flags & MF_POPUP) != 0)
    {
        const HMENU popup = reinterpret_cast<HMENU>(idOrPopup);
        if (FindMenu(popup) == nullptr)
        {
            return false;
        }
        entry.popup = popup;
        entry.id = 0;
    }
    else
    {
        entry.popup = nullptr;
        entry.id = static_cast<UINT>(idOrPopup);
    }
    return true;
}

// Resource format: an array of items; an item is {"text": "&File", "items": [...]}
// (a popup), {"text": "E&xit", "id": 57665} (a command, optional "grayed" and
// "checked") or {"separator": true}.
bool AppendFromJson(HMENU menu, const nlohmann::json& items, int depth)
{
    if (!items.is_array() || depth > 8)
    {
        return false;
    }
    for (const nlohmann::json& item : items)
    {
        if (!item.is_object())
        {
            return false;
        }
        if (item.value("separator", false))
        {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const auto text = item.find("text");
        if (text == item.end() || !text->is_string())
        {
            return false;
        }
        const std::wstring label = Utf8ToWide(text->get<std::string>());
        UINT flags = MF_STRING;
        if (item.value("grayed", false))
        {
            flags |= MF_GRAYED;
        }
        if (item.value("checked", false))
        {
            flags |= MF_CHECKED;
        }
        if (const auto children = item.find("items"); children != item.end())
        {
            const HMENU popup = CreatePopupMenu();
            if (!AppendFromJson(popup, *children, depth + 1))
            {
                DestroyMenu(popup);
                return false;
            }
            AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(popup), label.c_str());
            continue;
        }
        const auto id = item.find("id");
        if (id == item.end() || !id->is_number_unsigned() || id->get<std::uint64_t>() > 0xFFFF)
        {
            return false;
        }
        AppendMenuW(menu, flags, id->get<UINT>(), label.c_str());
    }
    return true;
}

} // namespace

HMENU CreateMenu()
{
    return NewMenu();
}

HMENU CreatePopupMenu()
{
    return NewMenu();
}

HMENU LoadMenuW(HINSTANCE, LPCWSTR name)
{
    const auto id = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(name));
    const std::optional<std::string_view> data = brvl::win32::FindResourceData("menu", id);
    if (!data)
    {
        return nullptr;
    }
    const nlohmann::json json = nlohmann::json::parse(*data, nullptr, false);
    const HMENU menu = CreateMenu();
    if (json.is_discarded() || !AppendFromJson(menu, json, 0))
    {
        DestroyMenu(menu); // a malformed resource loads as no menu at all
        return nullptr;
    }
    return menu;
}

BOOL DestroyMenu(HMENU menu)
{
    auto& menus = Menus();
    const auto it = menus.find(menu);
    if (it == menus.end())
    {
        return FALSE;
    }
    std::unique_ptr<MenuRecord> record = std::move(it->second);
    menus.erase(it);
    for (const MenuItem& item : record->items)
    {
        if (item.popup != nullptr)
        {
            DestroyMenu(item.popup);
        }
    }
    return TRUE;
}

BOOL IsMenu(HMENU menu)
{
    return FindMenu(menu) != nullptr ? TRUE : FALSE;
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCWSTR text)
{
    MenuRecord* record = FindMenu(menu);
    MenuItem entry;
    if (record == nullptr || !FillItem(entry, flags, idOrPopup, text))
    {
        return FALSE;
    }
    record->items.push_back(std::move(entry));
    return TRUE;
}

BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCWSTR text)
{
    MenuRecord* owner = nullptr;
    MenuItem* before = FindItem(menu, position, flags & MF_BYPOSITION, &owner);
    MenuItem entry;
    if (!FillItem(entry, flags, idOrPopup, text))
    {
        return FALSE;
    }
    if (before == nullptr)
    {
        // Windows appends when the position is past the end.
        return (flags & MF_BYPOSITION) != 0 ? AppendMenuW(menu, flags, idOrPopup, text) : FALSE;
    }
    const auto index = before - owner->items.data();
    owner->items.insert(owner->items.begin() + index, std::move(entry));
    return TRUE;
}

BOOL ModifyMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCWSTR text)
{
    MenuItem* item = FindItem(menu, position, flags & MF_BYPOSITION);
    MenuItem replacement;
    if (item == nullptr || !FillItem(replacement, flags & ~MF_BYPOSITION, idOrPopup, text))
    {
        return FALSE;
    }
    if (item->popup != nullptr && item->popup != replacement.popup)
    {
        DestroyMenu(item->popup);
    }
    *item = std::move(replacement);
    return TRUE;
}

namespace
{

BOOL Remove(HMENU menu, UINT position, UINT flags, bool destroyPopup)
{
    MenuRecord* owner = nullptr;
    MenuItem* item = FindItem(menu, position, flags & MF_BYPOSITION, &owner);
    if (item == nullptr)
    {
        return FALSE;
    }
    const HMENU popup = item->popup;
    owner->items.erase(owner->items.begin() + (item - owner->items.data()));
    if (destroyPopup && popup != nullptr)
    {
        DestroyMenu(popup);
    }
    return TRUE;
}

} // namespace

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags)
{
    return Remove(menu, position, flags, true);
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags)
{
    return Remove(menu, position, flags, false);
}

int GetMenuItemCount(HMENU menu)
{
    const MenuRecord* record = FindMenu(menu);
    return record != nullptr ? static_cast<int>(record->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int pos)
{
    const MenuItem* item =
        pos >= 0 ? FindItem(menu, static_cast<UINT>(pos), MF_BYPOSITION) : nullptr;
    if (item == nullptr || (item->flags & MF_POPUP) != 0)
    {
        return static_cast<UINT>(-1);
    }
    return (item->flags & MF_SEPARATOR) != 0 ? 0 : item->id;
}

HMENU GetSubMenu(HMENU menu, int pos)
{
    const MenuItem* item =
        pos >= 0 ? FindItem(menu, static_cast<UINT>(pos), MF_BYPOSITION) : nullptr;
    return item != nullptr ? item->popup : nullptr;
}

int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int count, UINT flags)
{
    const MenuItem* entry = FindItem(menu, item, flags);
    if (entry == nullptr)
    {
        if (buffer != nullptr && count > 0)
        {
            buffer[0] = L'\0';
        }
        return 0;
    }
    const int length = static_cast<int>(entry->text.size());
    if (buffer == nullptr || count <= 0)
    {
        return length;
    }
    const int copied = std::min(length, count - 1);
    std::copy_n(entry->text.c_str(), copied, buffer);
    buffer[copied] = L'\0';
    return copied;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags)
{
    const MenuItem* entry = FindItem(menu, item, flags);
    if (entry == nullptr)
    {
        return static_cast<UINT>(-1);
    }
    if ((entry->flags & MF_POPUP) != 0)
    {
        // The high byte holds the submenu's item count, as on Windows.
        const int count = GetMenuItemCount(entry->popup);
        return (entry->flags & 0xFF) | (static_cast<UINT>(std::max(count, 0)) << 8);
    }
    return entry->flags;
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT enable)
{
    MenuItem* entry = FindItem(menu, item, enable & MF_BYPOSITION);
    if (entry == nullptr)
    {
        return static_cast<UINT>(-1);
    }
    const UINT previous = entry->flags & (MF_GRAYED | MF_DISABLED);
    entry->flags =
        (entry->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return previous;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check)
{
    MenuItem* entry = FindItem(menu, item, check & MF_BYPOSITION);
    if (entry == nullptr)
    {
        return static_cast<DWORD>(-1);
    }
    const DWORD previous = entry->flags & MF_CHECKED;
    entry->flags = (entry->flags & ~MF_CHECKED) | (check & MF_CHECKED);
    return previous;
}

namespace brvl::win32
{

std::wstring MenuItemText(HMENU menu, UINT item, UINT flags)
{
    const MenuItem* entry = FindItem(menu, item, flags);
    return entry != nullptr ? entry->text : std::wstring();
}

std::wstring MenuLabel(const std::wstring& text)
{
    return text.substr(0, text.find(L'\t'));
}

std::wstring MenuAcceleratorText(const std::wstring& text)
{
    const auto tab = text.find(L'\t');
    return tab == std::wstring::npos ? std::wstring() : text.substr(tab + 1);
}

wchar_t MenuMnemonic(const std::wstring& text)
{
    const std::wstring label = MenuLabel(text);
    for (size_t i = 0; i + 1 < label.size(); ++i)
    {
        if (label[i] == L'&')
        {
            if (label[i + 1] != L'&')
            {
                return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(label[i + 1])));
            }
            ++i; // "&&" is a literal ampersand
        }
    }
    return 0;
}

} // namespace brvl::win32
