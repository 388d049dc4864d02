#pragma once

#include "addons/kit/state_variable_filter.h"

#include <array>
#include <cstddef>
#include <span>

// A bell around the filter's centre: x + (G - 1) k band. The band output is
// 1/k at the centre, so the gain there is exactly G; away from it the band
// fades and the bell passes x. The damping sets the width.
inline double StateVariableBellStep(StateVariableState& state, double input,
                                    const StateVariableCoefficients& c, double gain)
{
    const double band = StateVariableStep(state, input, c).band;
    return input + (gain - 1.0) * c.damping * band;
}

// The same bell over each channel of whole interleaved stereo frames, the left
// channel through states[0] and the right through states[1].
inline void StereoBellInPlace(std::span<double> interleaved,
                              std::array<StateVariableState, 2>& states,
                              const StateVariableCoefficients& c, double gain)
{
    for (size_t i = 0; i + 1 < interleaved.size(); i += 2)
    {
        interleaved[i] = StateVariableBellStep(states[0], interleaved[i], c, gain);
        interleaved[i + 1] = StateVariableBellStep(states[1], interleaved[i + 1], c, gain);
    }
}
