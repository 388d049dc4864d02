#pragma once

#include "addons/kit/addon_base.h"

// The smile-curve enhancer "Maximizer": lows lifted by the contour, highs by
// the process amount, the sum made down by a trim and never left louder at its
// peak than it came in. The band work is a MaximizerCore built in each call.
class SonicMaximizerAddon final : public AddonBase
{
public:
    SonicMaximizerAddon();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
