#include "engine/chain/processor_descriptor.h"

#include <algorithm>
#include <cmath>

namespace
{

// A range narrower than this maps every value to the bottom of a control.
constexpr double kEmptyRange = 1e-12;

// The kind after continuous and toggle: controls move it in whole steps from
// the minimum.
constexpr int kAddonParamWholeSteps = 2;

} // namespace

ProcessorDescriptor MakeProcessorDescriptor(const IAudioProcessor& processor)
{
    ProcessorDescriptor descriptor;
    descriptor.id = processor.id();
    descriptor.displayName = processor.displayName();
    descriptor.description = processor.description();
    descriptor.bestUse = processor.bestUse();
    descriptor.chainPosition = processor.chainPosition();
    descriptor.parameters = processor.parameters();
    return descriptor;
}

ChainEntry* FindChainEntry(std::vector<ChainEntry>& chain, const std::string& addonId)
{
    const auto found = std::find_if(chain.begin(), chain.end(),
                                    [&](const ChainEntry& entry) { return entry.id == addonId; });
    return found != chain.end() ? &*found : nullptr;
}

const ChainEntry* FindChainEntry(const std::vector<ChainEntry>& chain, const std::string& addonId)
{
    return FindChainEntry(const_cast<std::vector<ChainEntry>&>(chain), addonId);
}

const AddonParamSpec* FindAddonParamSpec(const ProcessorDescriptor& descriptor,
                                         const std::string& parameterId)
{
    const auto found =
        std::find_if(descriptor.parameters.begin(), descriptor.parameters.end(),
                     [&](const AddonParamSpec& spec) { return spec.id == parameterId; });
    return found != descriptor.parameters.end() ? &*found : nullptr;
}

double AddonParamValueFromPosition(const AddonParamSpec& spec, double position)
{
    const double n = std::isnan(position) ? 0.0 : std::clamp(position, 0.0, 1.0);
    const double range = spec.maxValue - spec.minValue;
    switch (spec.kind)
    {
    case kAddonParamToggle:
        return n >= 0.5 ? 1.0 : 0.0;
    case kAddonParamWholeSteps:
        return range > 0.0 ? spec.minValue + std::round(range * n) : spec.minValue;
    default:
        return spec.minValue + range * n;
    }
}

double AddonParamPositionFromValue(const AddonParamSpec& spec, double value)
{
    if (spec.kind == kAddonParamToggle)
    {
        return value >= 0.5 ? 1.0 : 0.0;
    }
    const double range = spec.maxValue - spec.minValue;
    if (range <= kEmptyRange || std::isnan(value))
    {
        return 0.0;
    }
    return std::clamp((value - spec.minValue) / range, 0.0, 1.0);
}

ChainEntry MakeChainEntry(const ProcessorDescriptor& descriptor)
{
    ChainEntry entry;
    entry.id = descriptor.id;
    entry.enabled = true;
    for (const AddonParamSpec& spec : descriptor.parameters)
    {
        entry.parameters.push_back({spec.id, spec.defaultValue});
    }
    return entry;
}

int ChainPositionScope(int chainPosition)
{
    switch (chainPosition)
    {
    case ChainPreMatch:
        return PreviewPreMatch;
    case ChainPostMatchTone:
        return PreviewPostMatchTone;
    case ChainPostMatchDynamics:
        return PreviewPostMatchDynamics;
    case ChainStereoImage:
        return PreviewStereoImage;
    case ChainPreLimiter:
        return PreviewPreLimiter;
    default:
        return PreviewStage1;
    }
}
