#pragma once

#include "addons/kit/addon_base.h"

class MicroDynamicsRestorer final : public AddonBase
{
public:
    MicroDynamicsRestorer();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
