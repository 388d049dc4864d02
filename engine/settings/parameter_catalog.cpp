#include "engine/settings/parameter_catalog.h"

#include "engine/settings/match_setting_table.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>
#include <variant>

namespace
{

constexpr double kEmptyRange = 1e-12;

// Where a parameter lives and what a committed change of it invalidates.
struct ParameterAddress
{
    std::string section;
    std::string key;
    int previewScope = PreviewStage1;
};

// A parameter that adjusts a MatchSettings field is addressed by the field's
// row, so its key and scope are named only there.
template <typename T> ParameterAddress Adjusting(T MatchSettings::*member)
{
    for (const MatchSettingField& field : kMatchSettingFields)
    {
        const auto* candidate = std::get_if<T MatchSettings::*>(&field.member);
        if (candidate != nullptr && *candidate == member && field.catalogKey != nullptr)
        {
            return {field.catalogSection, field.catalogKey, field.previewScope};
        }
    }
    throw std::logic_error("No parameter adjusts this setting");
}

template <typename T> ParameterRef RefTo(T MatchSettings::*member)
{
    ParameterAddress address = Adjusting(member);
    return {std::move(address.section), std::move(address.key)};
}

// What every entry names: where it lives and what it is.
ParameterDescriptor Entry(ParameterAddress address, int kind, std::string label,
                          std::string description)
{
    ParameterDescriptor d;
    d.section = std::move(address.section);
    d.key = std::move(address.key);
    d.kind = kind;
    d.previewScope = address.previewScope;
    d.label = std::move(label);
    d.description = std::move(description);
    return d;
}

// A value range of whole steps, shown as itself.
void SetSteppedRange(ParameterDescriptor& d, double maxValue, double defaultValue)
{
    d.minValue = 0.0;
    d.maxValue = maxValue;
    d.defaultValue = defaultValue;
    d.step = 1.0;
    d.displayMin = 0.0;
    d.displayMax = maxValue;
}

// A number shows its own range unless told otherwise.
ParameterDescriptor Number(ParameterAddress address, std::string label, std::string description,
                           double minValue, double maxValue, double defaultValue, double step,
                           int decimals, std::string unit)
{
    ParameterDescriptor d =
        Entry(std::move(address), ParameterNumber, std::move(label), std::move(description));
    d.minValue = minValue;
    d.maxValue = maxValue;
    d.defaultValue = defaultValue;
    d.step = step;
    d.displayMin = minValue;
    d.displayMax = maxValue;
    d.decimals = decimals;
    d.unit = std::move(unit);
    return d;
}

// An engine amount of 0..1 shown as 0..100 %.
ParameterDescriptor Percent(ParameterAddress address, std::string label, std::string description,
                            double defaultValue)
{
    constexpr double kPercentStep = 0.01;
    ParameterDescriptor d = Number(std::move(address), std::move(label), std::move(description),
                                   0.0, 1.0, defaultValue, kPercentStep, 0, "%");
    d.displayMin = 0.0;
    d.displayMax = 100.0;
    return d;
}

ParameterDescriptor Toggle(ParameterAddress address, std::string label, std::string description)
{
    ParameterDescriptor d =
        Entry(std::move(address), ParameterToggle, std::move(label), std::move(description));
    d.controlStyle = ControlStyleToggleSwitch;
    SetSteppedRange(d, 1.0, 0.0);
    return d;
}

ParameterDescriptor Choice(ParameterAddress address, std::string label, std::string description,
                           std::vector<std::string> choices, int defaultIndex, int controlStyle)
{
    ParameterDescriptor d =
        Entry(std::move(address), ParameterChoice, std::move(label), std::move(description));
    d.controlStyle = controlStyle;
    SetSteppedRange(d, double(choices.size()) - 1.0, defaultIndex);
    d.choices = std::move(choices);
    return d;
}

std::vector<ParameterDescriptor> BuildCatalog()
{
    return {
        Choice(Adjusting(&MatchSettings::internalSampleRate), "Sample Rate",
               "Internal processing sample rate used by the mastering engine.",
               {"44.1 kHz", "48 kHz", "88.2 kHz", "96 kHz"}, 0, ControlStyleSegmentSwitch),
        // The only parameter of the export rather than of the match.
        Choice({"session", "pcm_format", PreviewOutputOnly}, "PCM",
               "PCM bit depth used for rendered WAV output.", {"16", "24", "32f"}, 1,
               ControlStyleSegmentSwitch),
        Number(Adjusting(&MatchSettings::maxPieceSeconds), "Piece Size",
               "Maximum analysis piece duration used by the engine.", 1.0, 30.0, 15.0, 0.5, 1,
               " s"),
        Percent(Adjusting(&MatchSettings::stage2Strength), "Tone Match",
                "Controls how strongly Stage 2 tone matching is applied.", 0.75),
        Percent(Adjusting(&MatchSettings::stereoWidthAmount), "Stereo Match",
                "Controls how strongly Stage 2 applies the reference-driven stereo "
                "side-spectrum match.",
                1.0),
        Number(Adjusting(&MatchSettings::stereoBoostAmount), "Stereo Boost",
               "Extends Stage 2 stereo matching beyond 100 percent for a stronger stereo "
               "side-spectrum push.",
               1.0, 2.0, 1.0, 0.01, 1, "x"),
        Toggle(Adjusting(&MatchSettings::psychoacoustic), "Psychoacoustic",
               "Enables psychoacoustic weighting during tone matching."),
        Toggle(Adjusting(&MatchSettings::adaptiveStrength), "Adaptive",
               "Enables adaptive tone-match strength behavior."),
        Percent(Adjusting(&MatchSettings::stage3Strength), "Dynamics Match",
                "Controls how strongly Stage 3 dynamics matching is applied.", 1.0),
        Percent(Adjusting(&MatchSettings::stage3MacroStrength), "Macro",
                "Controls broad macro dynamics behavior in Stage 3.", 0.0),
        Percent(Adjusting(&MatchSettings::stage4LoudnessStrength), "Loudness",
                "Controls how strongly Stage 4 loudness targeting is applied.", 1.0),
        Percent(Adjusting(&MatchSettings::stage4LimiterStrength), "Limiter",
                "Controls how strongly Stage 4 limiting is applied.", 1.0),
        Choice(Adjusting(&MatchSettings::limiterMode), "Limiter Mode",
               "Selects the Stage 4 limiter mode.", {"Standard", "True Peak", "Lookahead"}, 0,
               ControlStyleSteppedKnob),
        Choice(Adjusting(&MatchSettings::smoothingOctaveDenominator), "Smoothing",
               "Controls the spectral smoothing window width applied to the tone correction "
               "curve.",
               {"1/3 Oct", "1/6 Oct", "1/12 Oct"}, 1, ControlStyleSegmentSwitch),
        Choice(Adjusting(&MatchSettings::limiterOversample), "Oversample",
               "Selects the oversampling factor for Stage 4 limiting.", {"1x", "2x", "4x"}, 0,
               ControlStyleSegmentSwitch),
    };
}

std::vector<ModeParameterGroup> BuildModeGroups()
{
    return {
        {"apprentice",
         "Apprentice",
         {RefTo(&MatchSettings::stage2Strength), RefTo(&MatchSettings::stereoWidthAmount),
          RefTo(&MatchSettings::stage4LoudnessStrength)}},
        {"stage2",
         "Stage 2",
         {RefTo(&MatchSettings::stage2Strength), RefTo(&MatchSettings::stereoWidthAmount),
          RefTo(&MatchSettings::stereoBoostAmount), RefTo(&MatchSettings::psychoacoustic),
          RefTo(&MatchSettings::adaptiveStrength),
          RefTo(&MatchSettings::smoothingOctaveDenominator)}},
        {"stage3",
         "Stage 3",
         {RefTo(&MatchSettings::stage3Strength), RefTo(&MatchSettings::stage3MacroStrength)}},
        {"stage4",
         "Stage 4",
         {RefTo(&MatchSettings::stage4LoudnessStrength),
          RefTo(&MatchSettings::stage4LimiterStrength), RefTo(&MatchSettings::limiterMode),
          RefTo(&MatchSettings::limiterOversample)}},
    };
}

// NaN is taken as 0 so that no control can hand the engine a NaN setting.
double ClampUnit(double x)
{
    return std::isnan(x) ? 0.0 : std::clamp(x, 0.0, 1.0);
}

// The highest index of a choice; a choice without labels counts by its range.
double LastChoiceIndex(const ParameterDescriptor& descriptor)
{
    return descriptor.choices.empty() ? descriptor.maxValue
                                      : double(descriptor.choices.size()) - 1.0;
}

} // namespace

const std::vector<ParameterDescriptor>& GetParameterCatalog()
{
    static const std::vector<ParameterDescriptor> catalog = BuildCatalog();
    return catalog;
}

const ParameterDescriptor* FindParameterDescriptor(const std::string& section,
                                                   const std::string& key)
{
    const std::vector<ParameterDescriptor>& catalog = GetParameterCatalog();
    const auto found = std::find_if(catalog.begin(), catalog.end(),
                                    [&](const ParameterDescriptor& d)
                                    { return d.section == section && d.key == key; });
    return found == catalog.end() ? nullptr : &*found;
}

const std::vector<ModeParameterGroup>& GetModeParameterGroups()
{
    static const std::vector<ModeParameterGroup> groups = BuildModeGroups();
    return groups;
}

const ModeParameterGroup* FindModeParameterGroup(const std::string& id)
{
    const std::vector<ModeParameterGroup>& groups = GetModeParameterGroups();
    const auto found = std::find_if(groups.begin(), groups.end(),
                                    [&](const ModeParameterGroup& g) { return g.id == id; });
    return found == groups.end() ? nullptr : &*found;
}

double ParameterValueFromPosition(const ParameterDescriptor& descriptor, double position)
{
    const double n = ClampUnit(position);
    switch (descriptor.kind)
    {
    case ParameterToggle:
        return n >= 0.5 ? 1.0 : 0.0;
    case ParameterChoice:
    {
        const double lastIndex = std::floor(LastChoiceIndex(descriptor));
        if (!(lastIndex > 0.0))
        {
            return 0.0;
        }
        // std::round takes halves away from zero: 2 x 0.25 is index 1.
        return std::clamp(std::round(lastIndex * n), 0.0, lastIndex);
    }
    default:
        return descriptor.minValue + (descriptor.maxValue - descriptor.minValue) * n;
    }
}

double ParameterPositionFromValue(const ParameterDescriptor& descriptor, double value)
{
    switch (descriptor.kind)
    {
    case ParameterToggle:
        return value >= 0.5 ? 1.0 : 0.0;
    case ParameterChoice:
    {
        const double lastIndex = LastChoiceIndex(descriptor);
        return lastIndex > 0.0 ? ClampUnit(value / lastIndex) : 0.0;
    }
    default:
    {
        const double range = descriptor.maxValue - descriptor.minValue;
        return range > kEmptyRange ? ClampUnit((value - descriptor.minValue) / range) : 0.0;
    }
    }
}
