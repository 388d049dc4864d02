#pragma once

#include "addons/kit/addon_base.h"

#include <array>

class DynamicAir final : public AddonBase
{
public:
    DynamicAir();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;

private:
    std::array<double, 2> m_lowPass{}; // left, right
    double m_envelope = 0.0;
};
