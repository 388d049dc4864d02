#pragma once

#include "addons/kit/addon_base.h"

class TiltEq final : public AddonBase
{
public:
    TiltEq();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
