#pragma once

#include "addons/kit/addon_base.h"

class PhaseRotator final : public AddonBase
{
public:
    PhaseRotator();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
