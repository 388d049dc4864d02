#pragma once

#include "addons/kit/addon_base.h"

class BalanceCorrector final : public AddonBase
{
public:
    BalanceCorrector();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
