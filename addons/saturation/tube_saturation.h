#pragma once

#include "addons/kit/addon_base.h"

// A clipped cubic blended with a biased tanh, the right channel's bias of the
// opposite sign, the track scaled back to its input peak afterwards.
class TubeSaturation final : public AddonBase
{
public:
    TubeSaturation();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};

// The tube curve of x at drive G and bias b: 0.28 of the cubic u - u^3 / 3
// (u = x G + b) clipped to +-1.5 and scaled to +-0.28, plus 0.72 of
// tanh(u) - tanh(b). The tanh part is 0 at x = 0, the cubic part is not.
double TubeShape(double x, double drive, double bias);
