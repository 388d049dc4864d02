#pragma once

#include "addons/kit/addon_base.h"

class UpwardDetail final : public AddonBase
{
public:
    UpwardDetail();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
