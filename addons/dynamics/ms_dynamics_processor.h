#pragma once

#include "addons/kit/addon_base.h"

class MsDynamicsProcessor final : public AddonBase
{
public:
    MsDynamicsProcessor();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
