#pragma once

#include "addons/kit/addon_base.h"

class TransientSustainShaper final : public AddonBase
{
public:
    TransientSustainShaper();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
