#include "engine/settings/mastering_settings.h"

#include "engine/settings/json_document.h"
#include "engine/settings/match_setting_table.h"
#include "base/unicode_text.h"

#include <nlohmann/json.hpp>

#include <stdexcept>
#include <variant>

using nlohmann::json;

namespace
{

// The document's readers by the type of the field they fill.
void ReadMember(const json& object, const char* key, int& field)
{
    JsonReadInt(object, key, field);
}

void ReadMember(const json& object, const char* key, double& field)
{
    JsonReadDouble(object, key, field);
}

void ReadMember(const json& object, const char* key, bool& field)
{
    JsonReadBool(object, key, field);
}

void ReadMatch(const json& match, MatchSettings& settings)
{
    for (const MatchSettingField& field : kMatchSettingFields)
    {
        if (field.stored)
        {
            std::visit([&](auto member) { ReadMember(match, field.name, settings.*member); },
                       field.member);
        }
    }
}

void WriteMatch(json& match, const MatchSettings& settings)
{
    for (const MatchSettingField& field : kMatchSettingFields)
    {
        if (field.stored)
        {
            std::visit([&](auto member) { match[field.name] = settings.*member; }, field.member);
        }
    }
}

ChainEntry ReadChainEntry(const json& element)
{
    ChainEntry entry;
    JsonReadString(element, "id", entry.id);
    JsonReadBool(element, "enabled", entry.enabled);
    const auto parameters = element.find("parameters");
    if (parameters == element.end() || !parameters->is_array())
    {
        return entry;
    }
    for (const json& item : *parameters)
    {
        if (!item.is_object())
        {
            continue;
        }
        ChainParameterValue parameter;
        JsonReadString(item, "id", parameter.id);
        JsonReadDouble(item, "value", parameter.value);
        if (!parameter.id.empty())
        {
            entry.parameters.push_back(std::move(parameter));
        }
    }
    return entry;
}

} // namespace

void MasteringSettings::SaveToFile(const std::wstring& path) const
{
    JsonNodeHandle root = JsonNodeHandle::NewObjectDocument();
    json& rootValue = *root.Resolve();
    rootValue["version"] = version;
    rootValue["referenceProfileFileName"] = referenceProfileFileName;
    rootValue["referenceProfileIsFactory"] = referenceProfileIsFactory;

    WriteMatch(*root.ChildObject("match").Resolve(), match);

    JsonNodeHandle chain = root.ChildArray("addons");
    for (const ChainEntry& entry : addons)
    {
        JsonNodeHandle entryNode = chain.AppendObject();
        json& entryValue = *entryNode.Resolve();
        entryValue["id"] = entry.id;
        entryValue["enabled"] = entry.enabled;
        JsonNodeHandle parameters = entryNode.ChildArray("parameters");
        for (const ChainParameterValue& parameter : entry.parameters)
        {
            json& parameterValue = *parameters.AppendObject().Resolve();
            parameterValue["id"] = parameter.id;
            parameterValue["value"] = RoundToFourDecimals(parameter.value);
        }
    }

    if (!root.SaveToFile(path))
    {
        throw std::runtime_error("Failed to write settings file: " + WideToUtf8(path));
    }
}

MasteringSettings MasteringSettings::LoadFromFile(const std::filesystem::path& path)
{
    const JsonReadHandle root = OpenJsonReadHandle(path);
    if (root.IsEmpty() || !root.value->is_object())
    {
        throw std::runtime_error("Failed to parse session file: " + PathToUtf8(path));
    }

    MasteringSettings settings;
    const json& object = *root.value;
    JsonReadInt(object, "version", settings.version);
    JsonReadString(object, "referenceProfileFileName", settings.referenceProfileFileName);
    JsonReadBool(object, "referenceProfileIsFactory", settings.referenceProfileIsFactory);

    if (const json* match = root.Find("match"); match != nullptr && match->is_object())
    {
        ReadMatch(*match, settings.match);
    }

    if (const json* chain = root.Find("addons"); chain != nullptr && chain->is_array())
    {
        for (const json& element : *chain)
        {
            if (!element.is_object())
            {
                continue;
            }
            ChainEntry entry = ReadChainEntry(element);
            if (!entry.id.empty())
            {
                settings.addons.push_back(std::move(entry));
            }
        }
    }
    return settings;
}
