#pragma once

#include "addons/kit/addon_base.h"

class DetailExtractor final : public AddonBase
{
public:
    DetailExtractor();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
