#pragma once

#include "addons/kit/addon_base.h"

class PunchEnhancer final : public AddonBase
{
public:
    PunchEnhancer();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
