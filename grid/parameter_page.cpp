#include "grid/parameter_page.h"

#include "base/unicode_text.h"
#include "controls/layout/designer_layout.h"
#include "grid/module_folder.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>

namespace
{

constexpr COLORREF kMixAccent = 0x9A56B6;
constexpr int kFullRowSpan = 12;

int UnitValueMode(bool bipolar)
{
    return bipolar ? 2 : 1;
}

// A position 0..1 from a stored value; what the position of a NaN is not
// defined for comes out as 0.
double PositionOrZero(double position)
{
    return std::isnan(position) ? 0.0 : std::clamp(position, 0.0, 1.0);
}

// Continuous and integer-choice add-on values across their range.
double AddonPosition(const AddonParamSpec& spec)
{
    AddonParamSpec asContinuous = spec;
    asContinuous.kind = kAddonParamContinuous;
    return PositionOrZero(AddonParamPositionFromValue(asContinuous, spec.defaultValue));
}

int AddonDecimals(const AddonParamSpec& spec)
{
    if (spec.kind != kAddonParamContinuous)
    {
        return 0;
    }
    if (spec.step >= 1.0)
    {
        return 0;
    }
    if (spec.step >= 0.1)
    {
        return 1;
    }
    return spec.step >= 0.01 ? 2 : 3;
}

std::string WholeNumberText(double v)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.0f", v);
    return text;
}

// Integer choices: the whole numbers from the rounded minimum to the rounded
// maximum (halves away from zero), at most kMaxIntegerChoiceSteps of them; a
// range that is not finite has none.
void FillIntegerChoice(ControlItem& item, const AddonParamSpec& spec)
{
    item.stepLabels.clear();
    item.stepCount = 0;
    item.selectedIndex = 0;
    if (!std::isfinite(spec.minValue) || !std::isfinite(spec.maxValue))
    {
        return;
    }
    const double lo = std::round(spec.minValue);
    const double hi = std::round(spec.maxValue);
    const double count = std::min(hi - lo + 1.0, double{kMaxIntegerChoiceSteps});
    if (!(count >= 1.0))
    {
        return;
    }
    item.stepCount = static_cast<int>(count);
    for (int i = 0; i < item.stepCount; ++i)
    {
        item.stepLabels.push_back(WholeNumberText(lo + i));
    }
    if (std::isfinite(spec.defaultValue))
    {
        const double index = std::round(spec.defaultValue) - lo;
        item.selectedIndex =
            static_cast<int>(std::clamp(index, 0.0, double(std::max(item.stepCount - 1, 0))));
    }
}

// The default of a choice parameter as an index into its list: held to
// 0..maximum and truncated toward zero.
int ChoiceIndex(const ParameterDescriptor& descriptor)
{
    const double top = std::isfinite(descriptor.maxValue) && descriptor.maxValue > 0.0
                           ? std::min(descriptor.maxValue, double{INT_MAX})
                           : 0.0;
    const double d = std::isnan(descriptor.defaultValue) ? 0.0 : descriptor.defaultValue;
    return static_cast<int>(std::clamp(d, 0.0, top));
}

void SetCatalogueDisplay(ControlItem& item, const ParameterDescriptor& descriptor)
{
    item.displayMin = descriptor.displayMin;
    item.displayMax = descriptor.displayMax;
    item.displayDecimals = descriptor.decimals;
    item.displaySuffix = descriptor.unit;
}

void SetAddonDisplay(ControlItem& item, const AddonParamSpec& spec)
{
    item.valueMode = UnitValueMode(spec.minValue < 0.0);
    item.displayMin = spec.minValue;
    item.displayMax = spec.maxValue;
    item.displayDecimals = AddonDecimals(spec);
    item.displaySuffix = spec.unit;
}

void SetAddonToggle(ControlItem& item, const AddonParamSpec& spec)
{
    item.toggleValue = spec.defaultValue >= 0.5;
    item.value = item.toggleValue ? 1.0 : 0.0;
}

ControlItem TextItem(ControlKind kind, const char* parameterId, std::string label,
                     std::string textValue, int group)
{
    ControlItem item;
    item.kind = kind;
    item.parameterId = parameterId;
    item.label = std::move(label);
    item.textValue = std::move(textValue);
    item.valueMode = 0;
    item.spanOverrideX = kFullRowSpan;
    item.group = group;
    item.drawBorder = false;
    item.drawBackground = false;
    return item;
}

// A description or best-use text into a layout item: a text block shows it as
// its tool tip and keeps its own label.
void FillTextItem(ControlItem& item, const char* fallbackLabel, const std::string& text)
{
    if (item.label.empty())
    {
        item.label = fallbackLabel;
    }
    if (item.kind == ControlKind::TextBlock)
    {
        item.toolTip = text;
    }
    else
    {
        item.textValue = text;
    }
    item.valueMode = 0;
}

bool LoadPageLayout(const std::string& pageId, DesignerLayout& layout)
{
    return DesignerLayout::Load(GetPluginLayoutPath(pageId), layout);
}

} // namespace

double NormalizeParameterValue(const ParameterDescriptor& descriptor, double value)
{
    return ParameterPositionFromValue(descriptor, value);
}

ControlItem MakeParameterItem(const ParameterDescriptor& descriptor)
{
    ControlItem item;
    switch (descriptor.controlStyle)
    {
    case ControlStyleHorizontalSlider:
        item.kind = ControlKind::HorizontalSlider;
        break;
    case ControlStyleToggleSwitch:
        item.kind = ControlKind::ToggleSwitch;
        break;
    case ControlStyleSegmentSwitch:
        item.kind = ControlKind::SegmentSwitch;
        break;
    case ControlStyleSteppedKnob:
        item.kind = ControlKind::SteppedKnob;
        break;
    default:
        item.kind = descriptor.kind == ParameterToggle   ? ControlKind::ToggleSwitch
                    : descriptor.kind == ParameterChoice ? ControlKind::SegmentSwitch
                                                         : ControlKind::SmallKnob;
        break;
    }
    item.parameterId = descriptor.section + "." + descriptor.key;
    item.label = descriptor.label;
    item.toolTip = descriptor.description;
    BindItemToParameter(item, descriptor);
    return item;
}

ControlItem MakeAddonParameterItem(const AddonParamSpec& spec)
{
    ControlItem item;
    item.kind = spec.kind == kAddonParamToggle ? ControlKind::ToggleSwitch
                : spec.kind == 2               ? ControlKind::SegmentSwitch
                                               : ControlKind::SmallKnob;
    item.parameterId = spec.id;
    item.label = spec.label;
    SetAddonDisplay(item, spec);
    item.drawBorder = false;
    item.drawBackground = false;
    if (spec.id == "mix" || spec.label == "Mix")
    {
        item.accentColor = kMixAccent;
    }
    if (spec.kind == kAddonParamToggle)
    {
        SetAddonToggle(item, spec);
        return item;
    }
    if (spec.kind == 2)
    {
        FillIntegerChoice(item, spec);
    }
    item.value = AddonPosition(spec);
    return item;
}

ControlItem DesignerItemToControlItem(const DesignerItem& d)
{
    ControlItem item;
    item.kind = d.kind;
    item.valueMode = d.valueMode;
    item.parameterId = d.parameterId;
    item.label = !d.label.empty()         ? d.label
                 : !d.parameterId.empty() ? d.parameterId
                                          : d.internalName;
    item.secondaryText = d.secondaryText;
    item.toolTip = d.toolTip;
    item.textValue = d.textValue;
    item.accentColor = d.accentColor;
    item.drawBorder = d.drawBorder;
    item.drawBackground = d.drawBackground;
    item.explicitPlacement = true;
    item.gridX = d.gridX;
    item.gridY = d.gridY;
    item.spanX = d.spanX;
    item.spanY = d.spanY;
    item.value = d.value;
    item.hasSecondaryValue = d.hasSecondaryValue;
    item.secondaryValue = d.secondaryValue;
    item.displayMin = d.displayMin;
    item.displayMax = d.displayMax;
    item.displayDecimals = d.displayDecimals;
    item.displaySuffix = d.displaySuffix;
    item.stepCount = d.stepCount;
    item.selectedIndex = d.selectedIndex;
    item.stepLabels = d.stepLabels;
    item.toggleValue = d.toggleValue;
    return item;
}

void BindItemToParameter(ControlItem& item, const ParameterDescriptor& descriptor)
{
    item.valueMode = UnitValueMode(false);
    SetCatalogueDisplay(item, descriptor);
    item.value = NormalizeParameterValue(descriptor, descriptor.defaultValue);
    item.hasSecondaryValue = false;
    item.secondaryValue = 0.0;
    item.stepCount = 0;
    item.selectedIndex = 0;
    item.stepLabels.clear();
    item.toggleValue = false;
    if (descriptor.kind == ParameterToggle)
    {
        item.toggleValue = descriptor.defaultValue >= 0.5;
    }
    else if (descriptor.kind == ParameterChoice)
    {
        item.stepLabels = descriptor.choices;
        item.stepCount = static_cast<int>(descriptor.choices.size());
        item.selectedIndex = ChoiceIndex(descriptor);
    }
}

void FillAddonInfoItem(ControlItem& item, const ProcessorDescriptor& descriptor,
                       const AddonParamSpec* spec)
{
    if (item.parameterId == "addon_name")
    {
        if (item.kind == ControlKind::TextTitle)
        {
            item.label = descriptor.displayName;
        }
        else
        {
            item.textValue = descriptor.displayName;
            if (item.label.empty())
            {
                item.label = descriptor.displayName;
            }
        }
        item.valueMode = 0;
        return;
    }
    if (item.parameterId == "addon_description")
    {
        FillTextItem(item, "Details", descriptor.description);
        return;
    }
    if (item.parameterId == "addon_best_use")
    {
        FillTextItem(item, "Best Use", descriptor.bestUse);
        return;
    }
    if (spec == nullptr)
    {
        return;
    }
    SetAddonDisplay(item, *spec);
    item.label = spec->label;
    item.toolTip = descriptor.description;
    item.toggleValue = false;
    if (spec->kind == kAddonParamToggle)
    {
        item.stepCount = 0;
        item.selectedIndex = 0;
        item.stepLabels.clear();
        SetAddonToggle(item, *spec);
        return;
    }
    if (spec->kind == 2)
    {
        FillIntegerChoice(item, *spec);
    }
    else
    {
        item.stepCount = static_cast<int>(item.stepLabels.size());
        item.selectedIndex = 0;
    }
    item.value = AddonPosition(*spec);
}

std::vector<ControlItem> BuildAutoAddonInfoPage(const ProcessorDescriptor& descriptor)
{
    std::vector<ControlItem> items;
    items.reserve(descriptor.parameters.size() + 3);
    items.push_back(TextItem(ControlKind::TextTitle, "addon_name", descriptor.displayName,
                             descriptor.displayName, 1));
    for (const AddonParamSpec& spec : descriptor.parameters)
    {
        items.push_back(MakeAddonParameterItem(spec));
    }
    items.push_back(TextItem(ControlKind::TextCaptionBlock, "addon_description",
                             descriptor.displayName + ":", "Info", 2));
    items.push_back(TextItem(ControlKind::TextCaptionBlock, "addon_best_use", "Best Use",
                             descriptor.bestUse, 3));
    return items;
}

std::wstring GetPluginLayoutPath(const std::string& pageId)
{
    return ModuleFolder() + L"plugins/" + Utf8ToWide(pageId) + L".json";
}

ParameterPage BuildParameterPage(const ModeParameterGroup& group, const std::string& pageId,
                                 const GridPackParams& params)
{
    ParameterPage page;
    page.params = params;
    std::map<std::string, const ParameterDescriptor*> byId;
    for (const ParameterRef& ref : group.parameters)
    {
        if (const ParameterDescriptor* d = FindParameterDescriptor(ref.section, ref.key))
        {
            byId.emplace(ref.section + "." + ref.key, d);
        }
    }
    DesignerLayout layout;
    if (LoadPageLayout(pageId, layout))
    {
        page.fromLayoutFile = true;
        page.params.mode = GridPackMode::ExplicitOnly;
        for (const DesignerItem& designerItem : layout.items)
        {
            ControlItem item = DesignerItemToControlItem(designerItem);
            const auto found = byId.find(item.parameterId);
            if (found != byId.end())
            {
                BindItemToParameter(item, *found->second);
            }
            page.items.push_back(std::move(item));
        }
        return page;
    }
    for (const ParameterRef& ref : group.parameters)
    {
        if (const ParameterDescriptor* d = FindParameterDescriptor(ref.section, ref.key))
        {
            page.items.push_back(MakeParameterItem(*d));
        }
    }
    return page;
}

ParameterPage BuildAddonInfoPage(const ProcessorDescriptor& descriptor, const std::string& pageId,
                                 const GridPackParams& params)
{
    ParameterPage page;
    page.params = params;
    DesignerLayout layout;
    if (!LoadPageLayout(pageId, layout))
    {
        page.items = BuildAutoAddonInfoPage(descriptor);
        return page;
    }
    page.fromLayoutFile = true;
    page.params.mode = GridPackMode::ExplicitOnly;
    for (const DesignerItem& designerItem : layout.items)
    {
        ControlItem item = DesignerItemToControlItem(designerItem);
        FillAddonInfoItem(item, descriptor, FindAddonParamSpec(descriptor, item.parameterId));
        page.items.push_back(std::move(item));
    }
    return page;
}
