#pragma once

#include "engine/chain/audio_processor.h"

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
