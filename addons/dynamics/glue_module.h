#pragma once

#include "addons/kit/addon_base.h"

class GlueModule final : public AddonBase
{
public:
    GlueModule();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
