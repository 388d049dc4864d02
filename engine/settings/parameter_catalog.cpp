#include "engine/settings/parameter_catalog.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr double kEmptyRange = 1e-12;

// What every entry names: where it lives, what it is and what a change invalidates.
ParameterDescriptor Entry(std::string section, std::string key, int kind, std::string label,
                          std::string description, int previewScope)
{
    ParameterDescriptor d;
    d.section = std::move(section);
    d.key = std::move(key);
    d.kind = kind;
    d.previewScope = previewScope;
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
ParameterDescriptor Number(std::string section, std::string key, std::string label,
                           std::string description, double minValue, double maxValue,
                           double defaultValue, double step, int decimals, std::string unit,
                           int previewScope)
{
    ParameterDescriptor d = Entry(std::move(section), std::move(key), ParameterNumber,
                                  std::move(label), std::move(description), previewScope);
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
ParameterDescriptor Percent(std::string section, std::string key, std::string label,
                            std::string description, double defaultValue, int previewScope)
{
    constexpr double kPercentStep = 0.01;
    ParameterDescriptor d =
        Number(std::move(section), std::move(key), std::move(label), std::move(description), 0.0,
               1.0, defaultValue, kPercentStep, 0, "%", previewScope);
    d.displayMin = 0.0;
    d.displayMax = 100.0;
    return d;
}

ParameterDescriptor Toggle(std::string section, std::string key, std::string label,
                           std::string description, int previewScope)
{
    ParameterDescriptor d = Entry(std::move(section), std::move(key), ParameterToggle,
                                  std::move(label), std::move(description), previewScope);
    d.controlStyle = ControlStyleToggleSwitch;
    SetSteppedRange(d, 1.0, 0.0);
    return d;
}

ParameterDescriptor Choice(std::string section, std::string key, std::string label,
                           std::string description, std::vector<std::string> choices,
                           int defaultIndex, int controlStyle, int previewScope)
{
    ParameterDescriptor d = Entry(std::move(section), std::move(key), ParameterChoice,
                                  std::move(label), std::move(description), previewScope);
    d.controlStyle = controlStyle;
    SetSteppedRange(d, double(choices.size()) - 1.0, defaultIndex);
    d.choices = std::move(choices);
    return d;
}

std::vector<ParameterDescriptor> BuildCatalog()
{
    return {
        Choice("session", "internal_sample_rate", "Sample Rate",
               "Internal processing sample rate used by the mastering engine.",
               {"44.1 kHz", "48 kHz", "88.2 kHz", "96 kHz"}, 0, ControlStyleSegmentSwitch,
               PreviewFromStart),
        Choice("session", "pcm_format", "PCM", "PCM bit depth used for rendered WAV output.",
               {"16", "24", "32f"}, 1, ControlStyleSegmentSwitch, PreviewOutputOnly),
        Number("session", "max_piece_seconds", "Piece Size",
               "Maximum analysis piece duration used by the engine.", 1.0, 30.0, 15.0, 0.5, 1, " s",
               PreviewStage1),
        Percent("stage2", "strength", "Tone Match",
                "Controls how strongly Stage 2 tone matching is applied.", 0.75,
                PreviewStage2PostFft),
        Percent("stage2", "stereo_match", "Stereo Match",
                "Controls how strongly Stage 2 applies the reference-driven stereo "
                "side-spectrum match.",
                1.0, PreviewStage2),
        Number("stage2", "stereo_boost", "Stereo Boost",
               "Extends Stage 2 stereo matching beyond 100 percent for a stronger stereo "
               "side-spectrum push.",
               1.0, 2.0, 1.0, 0.01, 1, "x", PreviewStage2),
        Toggle("stage2", "psychoacoustic", "Psychoacoustic",
               "Enables psychoacoustic weighting during tone matching.", PreviewStage2),
        Toggle("stage2", "adaptive_strength", "Adaptive",
               "Enables adaptive tone-match strength behavior.", PreviewStage2PostFft),
        Percent("stage3", "strength", "Dynamics Match",
                "Controls how strongly Stage 3 dynamics matching is applied.", 1.0, PreviewStage3),
        Percent("stage3", "macro_strength", "Macro",
                "Controls broad macro dynamics behavior in Stage 3.", 0.0, PreviewStage3),
        Percent("stage4", "loudness_strength", "Loudness",
                "Controls how strongly Stage 4 loudness targeting is applied.", 1.0, PreviewStage4),
        Percent("stage4", "limiter_strength", "Limiter",
                "Controls how strongly Stage 4 limiting is applied.", 1.0, PreviewStage4),
        Choice("stage4", "limiter_mode", "Limiter Mode", "Selects the Stage 4 limiter mode.",
               {"Standard", "True Peak", "Lookahead"}, 0, ControlStyleSteppedKnob, PreviewStage4),
        Choice("stage2", "smoothing_octave", "Smoothing",
               "Controls the spectral smoothing window width applied to the tone correction "
               "curve.",
               {"1/3 Oct", "1/6 Oct", "1/12 Oct"}, 1, ControlStyleSegmentSwitch, PreviewStage2),
        Choice("stage4", "limiter_oversample", "Oversample",
               "Selects the oversampling factor for Stage 4 limiting.", {"1x", "2x", "4x"}, 0,
               ControlStyleSegmentSwitch, PreviewStage4),
    };
}

std::vector<ModeParameterGroup> BuildModeGroups()
{
    return {
        {"apprentice",
         "Apprentice",
         {{"stage2", "strength"}, {"stage2", "stereo_match"}, {"stage4", "loudness_strength"}}},
        {"stage2",
         "Stage 2",
         {{"stage2", "strength"},
          {"stage2", "stereo_match"},
          {"stage2", "stereo_boost"},
          {"stage2", "psychoacoustic"},
          {"stage2", "adaptive_strength"},
          {"stage2", "smoothing_octave"}}},
        {"stage3", "Stage 3", {{"stage3", "strength"}, {"stage3", "macro_strength"}}},
        {"stage4",
         "Stage 4",
         {{"stage4", "loudness_strength"},
          {"stage4", "limiter_strength"},
          {"stage4", "limiter_mode"},
          {"stage4", "limiter_oversample"}}},
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
