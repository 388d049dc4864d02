#include "platform/win32/resource_data.h"

#include "base/unicode_text.h"
#include "resources/resource_blobs.h"

#include <nlohmann/json.hpp>

#include <map>

namespace brvl::win32
{

namespace
{

std::map<UINT, std::wstring> ParseStringTable()
{
    std::map<UINT, std::wstring> table;
    const std::optional<std::string_view> data = FindResourceData("string", "table");
    if (!data)
    {
        return table;
    }
    // A malformed table is a build mistake; it shows as missing strings, never a crash.
    const nlohmann::json json = nlohmann::json::parse(*data, nullptr, false);
    if (!json.is_object())
    {
        return table;
    }
    for (const auto& [key, value] : json.items())
    {
        if (!value.is_string() || key.empty() ||
            key.find_first_not_of("0123456789") != std::string::npos || key.size() > 9)
        {
            continue;
        }
        table[static_cast<UINT>(std::stoul(key))] = Utf8ToWide(value.get<std::string>());
    }
    return table;
}

} // namespace

std::optional<std::string_view> FindResourceData(std::string_view kind, std::string_view name)
{
    for (const resources::ResourceBlob& blob : resources::AllResourceBlobs())
    {
        if (blob.data != nullptr && kind == blob.kind && name == blob.name)
        {
            return std::string_view(reinterpret_cast<const char*>(blob.data), blob.size);
        }
    }
    return std::nullopt;
}

std::optional<std::string_view> FindResourceData(std::string_view kind, UINT id)
{
    return FindResourceData(kind, std::to_string(id));
}

std::optional<std::wstring> FindStringResource(UINT id)
{
    static const std::map<UINT, std::wstring> table = ParseStringTable();
    const auto found = table.find(id);
    if (found == table.end())
    {
        return std::nullopt;
    }
    return found->second;
}

} // namespace brvl::win32
