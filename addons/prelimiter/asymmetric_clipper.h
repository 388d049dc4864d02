#pragma once

#include "addons/kit/addon_base.h"

class AsymmetricClipper final : public AddonBase
{
public:
    AsymmetricClipper();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
