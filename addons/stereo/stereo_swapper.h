#pragma once

#include "addons/kit/addon_base.h"

class StereoSwapper final : public AddonBase
{
public:
    StereoSwapper();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
