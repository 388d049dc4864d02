#pragma once

#include "addons/kit/addon_base.h"

class VintageCompressor final : public AddonBase
{
public:
    VintageCompressor();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
