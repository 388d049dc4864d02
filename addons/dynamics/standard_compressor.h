#pragma once

#include "addons/kit/addon_base.h"

class StandardCompressor final : public AddonBase
{
public:
    StandardCompressor();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
