#pragma once

#include "addons/kit/addon_base.h"

class MSColorEQ final : public AddonBase
{
public:
    MSColorEQ();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;

private:
    double m_midLowState = 0.0;
    double m_sideLowState = 0.0;
};
