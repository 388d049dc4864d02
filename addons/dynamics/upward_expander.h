#pragma once

#include "addons/kit/addon_base.h"

class UpwardExpander final : public AddonBase
{
public:
    UpwardExpander();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
