#pragma once

#include "addons/kit/addon_base.h"

class StereoWidener final : public AddonBase
{
public:
    StereoWidener();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
