#include "engine/settings/json_document.h"

#include "base/atomic_file.h"
#include "base/unicode_text.h"

#include <nlohmann/json.hpp>

#include <climits>
#include <cmath>
#include <fstream>

using nlohmann::json;

namespace
{

const json* FindMember(const json& object, std::string_view key)
{
    if (!object.is_object())
    {
        return nullptr;
    }
    const auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

} // namespace

JsonDocument LoadJsonFile(const std::filesystem::path& path)
{
    std::ifstream stream(path);
    if (!stream.is_open())
    {
        return nullptr;
    }
    try
    {
        auto document = std::make_shared<json>(
            json::parse(stream, nullptr, /*allow_exceptions=*/false, /*ignore_comments=*/false));
        if (document->is_discarded())
        {
            return nullptr;
        }
        return document;
    }
    catch (const std::ios_base::failure&)
    {
        // A directory opens as a stream on Linux and fails on the first read;
        // like every other unreadable input it is no document.
        return nullptr;
    }
}

JsonReadHandle OpenJsonReadHandle(const std::filesystem::path& path)
{
    JsonDocument document = LoadJsonFile(path);
    if (!document)
    {
        return {};
    }
    const json* root = document.get();
    return {std::move(document), root};
}

const json* JsonReadHandle::Find(std::string_view key) const
{
    return value == nullptr ? nullptr : FindMember(*value, key);
}

JsonNodeHandle::JsonNodeHandle(JsonDocument document, std::string path)
    : m_document(std::move(document)), m_path(std::move(path))
{
}

JsonNodeHandle JsonNodeHandle::NewObjectDocument()
{
    return {std::make_shared<json>(json::object()), std::string()};
}

JsonNodeHandle JsonNodeHandle::NewArrayDocument()
{
    return {std::make_shared<json>(json::array()), std::string()};
}

json* JsonNodeHandle::Resolve() const
{
    if (!m_document)
    {
        return nullptr;
    }
    if (m_path.empty())
    {
        return m_document.get();
    }
    return &m_document->at(json::json_pointer(m_path));
}

JsonNodeHandle JsonNodeHandle::Child(std::string_view key, bool wantArray) const
{
    json* node = Resolve();
    if (node == nullptr || !node->is_object())
    {
        return {};
    }
    json& member = (*node)[std::string(key)];
    const bool fits = wantArray ? member.is_array() : member.is_object();
    if (!fits)
    {
        member = wantArray ? json::array() : json::object();
    }
    return {m_document, m_path + "/" + EscapeJsonPointerToken(key)};
}

JsonNodeHandle JsonNodeHandle::ChildObject(std::string_view key) const
{
    return Child(key, false);
}

JsonNodeHandle JsonNodeHandle::ChildArray(std::string_view key) const
{
    return Child(key, true);
}

JsonNodeHandle JsonNodeHandle::AppendObject() const
{
    json* node = Resolve();
    if (node == nullptr || !node->is_array())
    {
        return {};
    }
    node->push_back(json::object());
    return {m_document, JsonIndexPath(m_path, node->size() - 1)};
}

bool JsonNodeHandle::SaveToFile(const std::wstring& path) const
{
    return SaveToFile(WidePathToFs(path));
}

bool JsonNodeHandle::SaveToFile(const std::filesystem::path& path) const
{
    if (!m_document)
    {
        return false;
    }
    std::string text;
    try
    {
        text = m_document->dump(2, ' ', /*ensure_ascii=*/false, json::error_handler_t::strict);
    }
    catch (const json::type_error&)
    {
        return false;
    }
    return WriteFileAtomically(path, text);
}

double RoundToFourDecimals(double value)
{
    const double scaled = value * 10000.0;
    if (!std::isfinite(scaled))
    {
        return value;
    }
    return std::round(scaled) / 10000.0;
}

std::string EscapeJsonPointerToken(std::string_view key)
{
    std::string escaped;
    escaped.reserve(key.size());
    for (char ch : key)
    {
        if (ch == '~')
        {
            escaped += "~0";
        }
        else if (ch == '/')
        {
            escaped += "~1";
        }
        else
        {
            escaped += ch;
        }
    }
    return escaped;
}

std::string JsonIndexPath(const std::string& path, size_t index)
{
    return path + "/" + std::to_string(index);
}

void JsonReadInt(const json& object, std::string_view key, int& field)
{
    const json* value = FindMember(object, key);
    if (value == nullptr)
    {
        return;
    }
    // A value that does not fit an int is as unusable as a mistyped one.
    if (value->is_number_unsigned())
    {
        const auto number = value->get<json::number_unsigned_t>();
        if (number <= static_cast<json::number_unsigned_t>(INT_MAX))
        {
            field = static_cast<int>(number);
        }
    }
    else if (value->is_number_integer())
    {
        const auto number = value->get<json::number_integer_t>();
        if (number >= INT_MIN && number <= INT_MAX)
        {
            field = static_cast<int>(number);
        }
    }
}

void JsonReadDouble(const json& object, std::string_view key, double& field)
{
    const json* value = FindMember(object, key);
    if (value != nullptr && value->is_number())
    {
        field = value->get<double>();
    }
}

void JsonReadBool(const json& object, std::string_view key, bool& field)
{
    const json* value = FindMember(object, key);
    if (value != nullptr && value->is_boolean())
    {
        field = value->get<bool>();
    }
}

void JsonReadString(const json& object, std::string_view key, std::string& field)
{
    const json* value = FindMember(object, key);
    if (value != nullptr && value->is_string())
    {
        field = value->get<std::string>();
    }
}
