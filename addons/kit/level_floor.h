#pragma once

#include "engine/chain/audio_processor.h"

#include <algorithm>

// No add-on works with a level floor below this, whatever the run asks.
inline constexpr double kAddonMinimumLevelFloor = 1e-9;

// The run's linear level floor as the add-ons use it; a floor that is not a
// number also gives the minimum.
inline double AddonLevelFloor(const ProcessContext& context)
{
    return std::max(kAddonMinimumLevelFloor, context.floor);
}
