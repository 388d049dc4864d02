#pragma once

#include "addons/kit/addon_base.h"

class MultibandCompressor final : public AddonBase
{
public:
    MultibandCompressor();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
