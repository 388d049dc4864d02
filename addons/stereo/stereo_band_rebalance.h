#pragma once

#include "addons/kit/addon_base.h"

class StereoBandRebalance final : public AddonBase
{
public:
    StereoBandRebalance();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
