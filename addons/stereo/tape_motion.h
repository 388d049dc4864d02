#pragma once

#include "addons/kit/addon_base.h"

class TapeMotion final : public AddonBase
{
public:
    TapeMotion();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
