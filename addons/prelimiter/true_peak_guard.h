#pragma once

#include "addons/kit/addon_base.h"

class TruePeakGuard final : public AddonBase
{
public:
    TruePeakGuard();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
