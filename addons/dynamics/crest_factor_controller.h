#pragma once

#include "addons/kit/addon_base.h"

class CrestFactorController final : public AddonBase
{
public:
    CrestFactorController();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
