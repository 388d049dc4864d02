#include "controls/layout/designer_item.h"

#include "engine/settings/json_document.h"

#include <nlohmann/json.hpp>

#include <climits>
#include <cmath>

using nlohmann::json;

namespace
{

const DesignerItem kDefaultItem;

// Doubles are stored with 4 decimals; a NaN or an infinity has no JSON
// spelling but null, so it is left out and reads back as the default.
void WriteStoredDouble(json& object, const char* key, double value)
{
    if (std::isfinite(value))
    {
        object[key] = RoundToFourDecimals(value);
    }
}

void WriteIfNotEmpty(json& object, const char* key, const std::string& text)
{
    if (!text.empty())
    {
        object[key] = text;
    }
}

void WriteIfNotZero(json& object, const char* key, int number)
{
    if (number != 0)
    {
        object[key] = number;
    }
}

std::vector<std::string> ReadStepLabels(const json* labels)
{
    std::vector<std::string> result;
    if (labels == nullptr || !labels->is_array())
    {
        return result;
    }
    result.reserve(labels->size());
    for (const json& label : *labels)
    {
        result.push_back(label.is_string() ? label.get<std::string>() : std::string());
    }
    return result;
}

} // namespace

void DesignerItemToJson(const JsonNodeHandle& node, const DesignerItem& item)
{
    json* target = node.Resolve();
    if (target == nullptr || !target->is_object())
    {
        return;
    }
    json& object = *target;

    object["kind"] = ControlKindToString(item.kind);
    object["parameterId"] = item.parameterId;
    object["label"] = item.label;
    object["toolTip"] = item.toolTip;
    object["textValue"] = item.textValue;
    object["gridX"] = item.gridX;
    object["gridY"] = item.gridY;
    object["spanX"] = item.spanX;
    object["spanY"] = item.spanY;
    // COLORREF is a DWORD; files hold it as a signed integer.
    object["accentColor"] = static_cast<int>(item.accentColor);
    object["drawBorder"] = item.drawBorder;
    object["drawBackground"] = item.drawBackground;

    WriteIfNotEmpty(object, "internalName", item.internalName);
    WriteIfNotEmpty(object, "secondaryText", item.secondaryText);
    if (item.instanceId > 0)
    {
        object["instanceId"] = item.instanceId;
    }
    // The default test is made on the unrounded value: 0.50001 is written, as 0.5.
    if (item.value != kDefaultItem.value)
    {
        WriteStoredDouble(object, "value", item.value);
    }
    if (item.hasSecondaryValue)
    {
        object["hasSecondaryValue"] = true;
        WriteStoredDouble(object, "secondaryValue", item.secondaryValue);
    }
    WriteIfNotZero(object, "valueMode", item.valueMode);
    if (item.stepCount > 0)
    {
        object["stepCount"] = item.stepCount;
    }
    WriteIfNotZero(object, "selectedIndex", item.selectedIndex);
    if (!item.stepLabels.empty())
    {
        object["stepLabels"] = item.stepLabels;
    }
    if (item.toggleValue)
    {
        object["toggleValue"] = true;
    }
    if (item.displayMin != kDefaultItem.displayMin)
    {
        WriteStoredDouble(object, "displayMin", item.displayMin);
    }
    if (item.displayMax != kDefaultItem.displayMax)
    {
        WriteStoredDouble(object, "displayMax", item.displayMax);
    }
    WriteIfNotZero(object, "displayDecimals", item.displayDecimals);
    if (item.displaySuffix != kDefaultItem.displaySuffix)
    {
        object["displaySuffix"] = item.displaySuffix;
    }
}

bool DesignerItemFromJson(const JsonReadHandle& node, int& counter, DesignerItem& out)
{
    const json* kindValue = node.Find("kind");
    ControlKind kind{};
    if (kindValue == nullptr || !kindValue->is_string() ||
        !ControlKindFromString(kindValue->get_ref<const std::string&>(), kind))
    {
        return false;
    }
    const json& object = *node.value;

    DesignerItem item;
    item.kind = kind;
    item.instanceId = counter;
    if (counter < INT_MAX)
    {
        ++counter;
    }
    JsonReadInt(object, "instanceId", item.instanceId);

    JsonReadString(object, "internalName", item.internalName);
    JsonReadString(object, "parameterId", item.parameterId);
    JsonReadString(object, "label", item.label);
    JsonReadString(object, "secondaryText", item.secondaryText);
    JsonReadString(object, "toolTip", item.toolTip);
    JsonReadString(object, "textValue", item.textValue);
    JsonReadString(object, "displaySuffix", item.displaySuffix);

    JsonReadInt(object, "gridX", item.gridX);
    JsonReadInt(object, "gridY", item.gridY);
    JsonReadInt(object, "spanX", item.spanX);
    JsonReadInt(object, "spanY", item.spanY);
    int accentColor = static_cast<int>(item.accentColor);
    JsonReadInt(object, "accentColor", accentColor);
    item.accentColor = static_cast<COLORREF>(accentColor);
    JsonReadInt(object, "valueMode", item.valueMode);
    JsonReadInt(object, "stepCount", item.stepCount);
    JsonReadInt(object, "selectedIndex", item.selectedIndex);
    JsonReadInt(object, "displayDecimals", item.displayDecimals);

    JsonReadDouble(object, "value", item.value);
    JsonReadDouble(object, "secondaryValue", item.secondaryValue);
    JsonReadDouble(object, "displayMin", item.displayMin);
    JsonReadDouble(object, "displayMax", item.displayMax);

    JsonReadBool(object, "drawBorder", item.drawBorder);
    JsonReadBool(object, "drawBackground", item.drawBackground);
    JsonReadBool(object, "hasSecondaryValue", item.hasSecondaryValue);
    JsonReadBool(object, "toggleValue", item.toggleValue);

    item.stepLabels = ReadStepLabels(node.Find("stepLabels"));

    out = std::move(item);
    return true;
}
