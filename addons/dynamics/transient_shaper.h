#pragma once

#include "addons/kit/addon_base.h"

class TransientShaper final : public AddonBase
{
public:
    TransientShaper();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
