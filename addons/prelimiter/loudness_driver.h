#pragma once

#include "addons/kit/addon_base.h"

class LoudnessDriver final : public AddonBase
{
public:
    LoudnessDriver();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
