#pragma once

#include "addons/kit/addon_base.h"

class LowHighBandStereoShaper final : public AddonBase
{
public:
    LowHighBandStereoShaper();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
