#pragma once

#include "engine/chain/audio_processor.h"
#include "engine/settings/mastering_settings.h"
#include "engine/chain/processor_chain.h"
#include "engine/chain/processor_descriptor.h"

#include <memory>
#include <string>
#include <vector>

// Total number of add-ons the program carries.
inline constexpr int kAddonCount = 67;

// A fresh add-on with every parameter at its default, or null when the id is not
// one of the add-ons. Ids compare exactly: "Air_Shelf" is not "air_shelf".
std::unique_ptr<IAudioProcessor> CreateProcessor(const std::string& id);

// One descriptor per add-on, in the registry's fixed order. Built by the first
// caller (concurrent callers wait), never changed afterwards, readable from any
// thread.
const std::vector<ProcessorDescriptor>& GetProcessorDescriptors();

// Null when no add-on has exactly this id.
const ProcessorDescriptor* FindProcessorDescriptor(const std::string& id);

// The chain of a run, with the add-ons created by CreateProcessor.
ProcessorChain BuildProcessorChain(const MasteringSettings& settings);
