#pragma once

#include "engine/chain/audio_processor.h"
#include "engine/engine_request.h"
#include "engine/settings/mastering_settings.h"

#include <string>
#include <vector>

// What the pages show of one add-on, copied from a fresh instance.
struct ProcessorDescriptor
{
    std::string id;
    std::string displayName;
    std::string description;
    std::string bestUse;
    int chainPosition = ChainPreMatch;
    std::vector<AddonParamSpec> parameters;
};

// Asks id, displayName, description, bestUse, chainPosition and parameters, in
// that order.
ProcessorDescriptor MakeProcessorDescriptor(const IAudioProcessor& processor);

// The first entry of the chain for this add-on, or null.
ChainEntry* FindChainEntry(std::vector<ChainEntry>& chain, const std::string& addonId);
const ChainEntry* FindChainEntry(const std::vector<ChainEntry>& chain, const std::string& addonId);

// The descriptor's first parameter with this id, or null.
const AddonParamSpec* FindAddonParamSpec(const ProcessorDescriptor& descriptor,
                                         const std::string& parameterId);

// A control position (clamped to 0..1) as the parameter's value: a toggle is
// exactly 1 from 0.5 on, else 0; kind 2 counts whole steps from the minimum
// (nearest, halves away from zero; the minimum for an empty or inverted
// range); anything else lies linearly between minimum and maximum.
double AddonParamValueFromPosition(const AddonParamSpec& spec, double position);
// A stored value as a control position: a toggle is 1 from 0.5 on, else 0;
// any other kind 0..1 across the range, 0 for an empty or inverted range.
double AddonParamPositionFromValue(const AddonParamSpec& spec, double value);

// The add-on as a chain adds it: enabled, every parameter at its default, in
// the descriptor's order.
ChainEntry MakeChainEntry(const ProcessorDescriptor& descriptor);

// The preview scope that a change of an add-on at this position raises: the
// scope named like the position (PREMATCH 11 ... PRELIMITER 3); stage1 for a
// position no add-on has.
int ChainPositionScope(int chainPosition);
