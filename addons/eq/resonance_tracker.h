#pragma once

#include "addons/kit/addon_base.h"

class ResonanceTracker final : public AddonBase
{
public:
    ResonanceTracker();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
