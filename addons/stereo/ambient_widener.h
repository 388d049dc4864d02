#pragma once

#include "addons/kit/addon_base.h"

class AmbientWidener final : public AddonBase
{
public:
    AmbientWidener();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
