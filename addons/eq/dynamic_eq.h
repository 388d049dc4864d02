#pragma once

#include "addons/kit/addon_base.h"
#include "addons/kit/biquad.h"

#include <array>

class DynamicEq final : public AddonBase
{
public:
    DynamicEq();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;

private:
    // One band-pass per channel serves both the detection and the correction:
    // they filter the same input with the same coefficients.
    std::array<BiquadState, 2> m_band{};
    double m_envelope = 0.0;
    double m_smoothedGainDb = 0.0;
};
