#pragma once

#include "addons/kit/addon_base.h"

class BandBalanceCorrector final : public AddonBase
{
public:
    BandBalanceCorrector();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
