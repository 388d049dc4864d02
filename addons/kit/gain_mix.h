#pragma once

#include "addons/kit/wet_dry_mix.h"

// A gain applied to a value and mixed with the value as it came in: the wet
// value is gain * dry, the mix already limited to 0..1. A mix of 0 gives the
// dry value back exactly.
inline double GainMix(double dry, double gain, double mix)
{
    return MixWetDry(gain * dry, dry, mix);
}

// The gain mix of both values of a stereo frame, in place.
inline void GainMixFrame(double& left, double& right, double gain, double mix)
{
    left = GainMix(left, gain, mix);
    right = GainMix(right, gain, mix);
}
