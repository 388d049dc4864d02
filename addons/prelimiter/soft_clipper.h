#pragma once

#include "addons/kit/addon_base.h"

class SoftClipper final : public AddonBase
{
public:
    SoftClipper();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
