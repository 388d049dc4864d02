#pragma once

#include "addons/kit/addon_base.h"

class ThreeBandEq final : public AddonBase
{
public:
    ThreeBandEq();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;

private:
    // Fixed at creation; not parameters.
    double m_lowCrossoverHz = 250.0;
    double m_highCrossoverHz = 2500.0;
};
