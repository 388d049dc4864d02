#pragma once

#include "addons/kit/addon_base.h"

class TransparentBusCompressor final : public AddonBase
{
public:
    TransparentBusCompressor();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
