#pragma once

#include "platform/win32/win_types.h"

#include <optional>
#include <string>
#include <string_view>

// Resources are files under resources/<kind>/<name>.<ext> compiled into the
// program ("dialog", "menu", "accelerator", "png", "icon", "string"); a
// numeric id is the file's all-digit name, so a menu and a dialog may share one.

namespace brvl::win32
{

// The bytes of a resource; nullopt when there is none. The bytes are followed
// by a NUL that the view does not count.
std::optional<std::string_view> FindResourceData(std::string_view kind, std::string_view name);
std::optional<std::string_view> FindResourceData(std::string_view kind, UINT id);

// A string of the string table (resources/string/table.json, {"id": "text"});
// nullopt when the table has no such id.
std::optional<std::wstring> FindStringResource(UINT id);

} // namespace brvl::win32
