#pragma once

#include "controls/layout/control_kind.h"
#include "platform/win32/win_types.h"

#include <string>
#include <vector>

class JsonNodeHandle;
struct JsonReadHandle;

// One control of a layout document, as a layout file stores it. Texts are UTF-8.
struct DesignerItem
{
    int instanceId = 0;
    ControlKind kind = ControlKind::SmallKnob;
    std::string internalName;
    int gridX = 0;
    int gridY = 0;
    int spanX = 1;
    int spanY = 1;
    bool drawBorder = true;
    bool drawBackground = true;
    COLORREF accentColor = 0x5284E5; // stored as a signed decimal integer
    double value = 0.5;
    double secondaryValue = 0.0;
    bool hasSecondaryValue = false;
    std::string label;
    std::string secondaryText;
    std::string toolTip;
    std::string parameterId;
    std::string textValue;
    int valueMode = 0;
    int stepCount = 0;
    int selectedIndex = 0;
    std::vector<std::string> stepLabels;
    bool toggleValue = false;
    double displayMin = 0.0;
    double displayMax = 100.0;
    int displayDecimals = 0;
    std::string displaySuffix = "%";

    bool operator==(const DesignerItem&) const = default;
};

// Writes the item's keys into `node`: the kind, the texts "parameterId",
// "label", "toolTip", "textValue", the cell, span, colour and draw flags always;
// every other key only when it differs from the default. Doubles keep 4
// decimals; a NaN or infinite one is left out, so it reads back as its default.
// Writes nothing when `node` is not an object.
void DesignerItemToJson(const JsonNodeHandle& node, const DesignerItem& item);

// Reads one item over the defaults: each key is taken only from its own JSON
// type (integers only from JSON integers that fit an int), anything else keeps
// the default; nothing is clamped. The instance id is the counter's value,
// unless the node gives one; the counter advances by one either way (never past
// INT_MAX). False, with `out` and the counter untouched, when "kind" is missing
// or is not one of the kind strings.
bool DesignerItemFromJson(const JsonReadHandle& node, int& counter, DesignerItem& out);
