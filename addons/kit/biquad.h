#pragma once

// The second-order section in direct form I: the two previous inputs and the
// two previous outputs are the state, so a change of coefficients between
// calls never disturbs the signal history. The designers that fill the
// coefficients live in biquad_design.h.

// Normalised so that a0 = 1.
struct BiquadCoefficients
{
    double b0;
    double b1;
    double b2;
    double a1;
    double a2;
};

// x1, x2 the previous inputs and y1, y2 the previous outputs, 0 at rest.
struct BiquadState
{
    double x1 = 0.0;
    double x2 = 0.0;
    double y1 = 0.0;
    double y2 = 0.0;
};

// y = b0 x + b1 x1 + b2 x2 - a1 y1 - a2 y2, then the history moves on by one.
inline double BiquadStep(BiquadState& state, double input, const BiquadCoefficients& c)
{
    const double output =
        c.b0 * input + c.b1 * state.x1 + c.b2 * state.x2 - c.a1 * state.y1 - c.a2 * state.y2;
    state.x2 = state.x1;
    state.x1 = input;
    state.y2 = state.y1;
    state.y1 = output;
    return output;
}
