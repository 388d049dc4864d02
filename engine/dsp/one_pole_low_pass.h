#pragma once

#include <span>
#include <vector>

// The one-pole low-pass y = (1 - k) x + k y. Every one-pole low-pass of the
// program (the band split, the profile's band levels, the add-ons) steps
// through OnePoleLowPassStep, so one corner gives the same samples everywhere.

// The pole k = exp(-2*pi*fc/fs). Each caller clamps fc to its own range first.
// A rate of 0 or less gives 0 (the filter passes its input) instead of a pole
// outside the unit circle.
double OnePoleCoefficient(double cutoffHz, double sampleRateHz);

// One step of the filter; state is the previous output (0 before the first).
inline double OnePoleLowPassStep(double& state, double input, double coefficient)
{
    state = (1.0 - coefficient) * input + coefficient * state;
    return state;
}

// The low band of a whole signal, starting from rest; the high band is the
// input minus this.
std::vector<double> OnePoleLowPass(std::span<const double> signal, double coefficient);
