#include "platform/win32/accelerators.h"

#include "platform/win32/resource_data.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_system.h"

#include <nlohmann/json.hpp>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{

using Table = std::vector<ACCEL>;

std::map<HACCEL, std::unique_ptr<Table>>& Tables()
{
    static std::map<HACCEL, std::unique_ptr<Table>> tables;
    return tables;
}

// Key names of the resource format: one letter or digit, or one of these.
std::optional<WORD> KeyCode(const std::string& name)
{
    if (name.size() == 1 &&
        ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9')))
    {
        return static_cast<WORD>(name[0]);
    }
    static const std::map<std::string, WORD> named = {
        {"Back", VK_BACK},   {"Tab", VK_TAB},       {"Return", VK_RETURN}, {"Escape", VK_ESCAPE},
        {"Space", VK_SPACE}, {"Insert", VK_INSERT}, {"Delete", VK_DELETE}, {"Left", VK_LEFT},
        {"Up", VK_UP},       {"Right", VK_RIGHT},   {"Down", VK_DOWN},
    };
    if (const auto it = named.find(name); it != named.end())
    {
        return it->second;
    }
    if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F')
    {
        const std::string digits = name.substr(1);
        if (digits.find_first_not_of("0123456789") == std::string::npos)
        {
            const int n = std::stoi(digits);
            if (n >= 1 && n <= 24)
            {
                return static_cast<WORD>(0x70 + n - 1); // VK_F1 is 0x70
            }
        }
    }
    return std::nullopt;
}

// Resource format: an array of {"key": "N", "ctrl": true, "shift": false,
// "alt": false, "id": 57600}.
std::optional<Table> ParseTable(std::string_view data)
{
    const nlohmann::json json = nlohmann::json::parse(data, nullptr, false);
    if (!json.is_array())
    {
        return std::nullopt;
    }
    Table table;
    for (const nlohmann::json& entry : json)
    {
        if (!entry.is_object() || !entry.contains("key") || !entry["key"].is_string() ||
            !entry.contains("id") || !entry["id"].is_number_unsigned() ||
            entry["id"].get<std::uint64_t>() > 0xFFFF)
        {
            return std::nullopt;
        }
        const std::optional<WORD> key = KeyCode(entry["key"].get<std::string>());
        if (!key)
        {
            return std::nullopt;
        }
        BYTE flags = FVIRTKEY;
        flags |= entry.value("ctrl", false) ? FCONTROL : 0;
        flags |= entry.value("shift", false) ? FSHIFT : 0;
        flags |= entry.value("alt", false) ? FALT : 0;
        table.push_back(ACCEL{flags, *key, entry["id"].get<WORD>()});
    }
    return table;
}

BYTE HeldModifiers()
{
    const UINT held = brvl::win32::WindowSystem::Instance().keyModifiers;
    BYTE flags = 0;
    flags |= (held & MK_CONTROL) != 0 ? FCONTROL : 0;
    flags |= (held & MK_SHIFT) != 0 ? FSHIFT : 0;
    flags |= (held & brvl::win32::kModifierAlt) != 0 ? FALT : 0;
    return flags;
}

} // namespace

HACCEL LoadAcceleratorsW(HINSTANCE, LPCWSTR name)
{
    const auto id = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(name));
    const std::optional<std::string_view> data = brvl::win32::FindResourceData("accelerator", id);
    if (!data)
    {
        return nullptr;
    }
    std::optional<Table> table = ParseTable(*data);
    if (!table)
    {
        return nullptr;
    }
    static std::uintptr_t next = 0xACC000;
    const HACCEL handle = reinterpret_cast<HACCEL>(++next);
    Tables()[handle] = std::make_unique<Table>(std::move(*table));
    return handle;
}

BOOL DestroyAcceleratorTable(HACCEL table)
{
    return Tables().erase(table) > 0 ? TRUE : FALSE;
}

namespace brvl::win32
{

std::optional<WORD> FindAcceleratorCommand(HACCEL table, const MSG& msg)
{
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
    {
        return std::nullopt;
    }
    const auto it = Tables().find(table);
    if (it == Tables().end())
    {
        return std::nullopt;
    }
    const BYTE held = HeldModifiers();
    for (const ACCEL& entry : *it->second)
    {
        const BYTE wanted = entry.fVirt & (FCONTROL | FSHIFT | FALT);
        if (entry.key == msg.wParam && wanted == held)
        {
            return entry.cmd;
        }
    }
    return std::nullopt;
}

} // namespace brvl::win32

int TranslateAcceleratorW(HWND hwnd, HACCEL table, MSG* msg)
{
    if (msg == nullptr || !IsWindow(hwnd))
    {
        return 0;
    }
    const std::optional<WORD> command = brvl::win32::FindAcceleratorCommand(table, *msg);
    if (!command)
    {
        return 0;
    }
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(*command, 1), 0);
    return 1;
}

SHORT GetKeyState(int virtualKey)
{
    const UINT held = brvl::win32::WindowSystem::Instance().keyModifiers;
    bool down = false;
    switch (virtualKey)
    {
    case VK_SHIFT:
        down = (held & MK_SHIFT) != 0;
        break;
    case VK_CONTROL:
        down = (held & MK_CONTROL) != 0;
        break;
    case VK_MENU:
        down = (held & brvl::win32::kModifierAlt) != 0;
        break;
    default:
        break;
    }
    return down ? static_cast<SHORT>(0x8000) : 0;
}
