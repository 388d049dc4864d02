#include "engine/settings/mastering_settings.h"

#include "engine/settings/json_document.h"
#include "base/unicode_text.h"

#include <nlohmann/json.hpp>

#include <stdexcept>

using nlohmann::json;

namespace
{

void ReadMatch(const json& match, MatchSettings& settings)
{
    JsonReadInt(match, "smoothingOctaveDenominator", settings.smoothingOctaveDenominator);
    JsonReadDouble(match, "stereoWidthAmount", settings.stereoWidthAmount);
    JsonReadDouble(match, "stereoBoostAmount", settings.stereoBoostAmount);
    JsonReadBool(match, "psychoacoustic", settings.psychoacoustic);
    JsonReadBool(match, "adaptiveStrength", settings.adaptiveStrength);
    JsonReadInt(match, "limiterMode", settings.limiterMode);
    JsonReadInt(match, "limiterOversample", settings.limiterOversample);
    JsonReadDouble(match, "stage2Strength", settings.stage2Strength);
    JsonReadDouble(match, "stage3Strength", settings.stage3Strength);
    JsonReadDouble(match, "stage3MacroStrength", settings.stage3MacroStrength);
    JsonReadDouble(match, "stage4LoudnessStrength", settings.stage4LoudnessStrength);
    JsonReadDouble(match, "stage4LimiterStrength", settings.stage4LimiterStrength);
}

void WriteMatch(json& match, const MatchSettings& settings)
{
    match["smoothingOctaveDenominator"] = settings.smoothingOctaveDenominator;
    match["stereoWidthAmount"] = settings.stereoWidthAmount;
    match["stereoBoostAmount"] = settings.stereoBoostAmount;
    match["psychoacoustic"] = settings.psychoacoustic;
    match["adaptiveStrength"] = settings.adaptiveStrength;
    match["limiterMode"] = settings.limiterMode;
    match["limiterOversample"] = settings.limiterOversample;
    match["stage2Strength"] = settings.stage2Strength;
    match["stage3Strength"] = settings.stage3Strength;
    match["stage3MacroStrength"] = settings.stage3MacroStrength;
    match["stage4LoudnessStrength"] = settings.stage4LoudnessStrength;
    match["stage4LimiterStrength"] = settings.stage4LimiterStrength;
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
