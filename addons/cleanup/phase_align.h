#pragma once

#include "addons/kit/addon_base.h"

class PhaseAlign final : public AddonBase
{
public:
    PhaseAlign();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
