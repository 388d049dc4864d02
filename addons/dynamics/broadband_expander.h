#pragma once

#include "addons/kit/addon_base.h"

class BroadbandExpander final : public AddonBase
{
public:
    BroadbandExpander();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
