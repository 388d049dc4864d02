#pragma once

#include "addons/kit/addon_base.h"

class CenterHalo final : public AddonBase
{
public:
    CenterHalo();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
