#pragma once

#include "addons/kit/addon_base.h"

#include <array>

class DynamicLowEndTamer final : public AddonBase
{
public:
    DynamicLowEndTamer();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;

private:
    double m_envelope = 0.0;
    std::array<double, 2> m_lowPass{}; // left, right
};
