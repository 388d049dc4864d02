#pragma once

#include "addons/kit/addon_base.h"

class WidthLimiter final : public AddonBase
{
public:
    WidthLimiter();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;

private:
    double m_sideGain = 1.0; // the running side gain
};
