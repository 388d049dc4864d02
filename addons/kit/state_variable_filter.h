#pragma once

#include <cmath>
#include <numbers>

// The state-variable filter in its trapezoidal (topology-preserving) form: one
// centre frequency f and a damping k = 1/Q give a band-pass, a low-pass and a
// high-pass from the same two states. The tangent prewarps f, so the band
// output peaks at exactly 1/k at f whatever the sample rate.

struct StateVariableCoefficients
{
    double damping; // k
    double a1;
    double a2;
    double a3;
};

// The filter's two integrator states, 0 at rest.
struct StateVariableState
{
    double s1 = 0.0;
    double s2 = 0.0;
};

struct StateVariableOutputs
{
    double band;
    double low;
    double high;
};

// g = tan(pi f / fs). The caller makes sure fs is above 0 and f below fs / 2;
// at or past the Nyquist frequency the tangent has no useful value.
inline StateVariableCoefficients StateVariableCoefficientsFor(double centreHz, double damping,
                                                              double sampleRateHz)
{
    const double g = std::tan(std::numbers::pi * centreHz / sampleRateHz);
    const double a1 = 1.0 / (1.0 + g * (g + damping));
    const double a2 = g * a1;
    return {damping, a1, a2, g * a2};
}

inline StateVariableOutputs StateVariableStep(StateVariableState& state, double input,
                                              const StateVariableCoefficients& c)
{
    const double d = input - state.s2;
    const double band = c.a1 * state.s1 + c.a2 * d;
    const double low = state.s2 + c.a2 * state.s1 + c.a3 * d;
    state.s1 = 2.0 * band - state.s1;
    state.s2 = 2.0 * low - state.s2;
    return {band, low, input - c.damping * band - low};
}
