#pragma once

#include <cmath>
#include <numbers>

// The coefficient of a first-order all-pass section whose phase lags by a
// quarter turn at frequencyHz: c = (1 - q) / (1 + q) with q = tan(pi f / fs).
// The lag grows from none at DC to half a turn at Nyquist, turning fastest
// around that frequency.
inline double AllPassCoefficient(double frequencyHz, double sampleRate)
{
    const double q = std::tan(std::numbers::pi * frequencyHz / sampleRate);
    return (1.0 - q) / (1.0 + q);
}

// One first-order all-pass section, y = x[n-1] - c x + c y[n-1]: every
// frequency passes at its level, only its phase turns. The section is stable
// for |c| < 1. Its two states start at 0; a caller keeps one section per
// channel and per stage for the length of its pass.
struct FirstOrderAllPass
{
    double previousInput = 0.0;
    double previousOutput = 0.0;

    double Step(double x, double c)
    {
        const double y = previousInput - c * x + c * previousOutput;
        previousInput = x;
        previousOutput = y;
        return y;
    }
};
