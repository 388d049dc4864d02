#pragma once

#include <algorithm>
#include <cmath>

// The level of one stereo frame as a single number that both channels' gain is
// taken from.

// The mean square of the two channels, the square of the RMS level.
inline double StereoPower(double left, double right)
{
    return 0.5 * (left * left + right * right);
}

// The RMS level: a steady sine gives its RMS, and a quadrature pair
// (A cos, A sin) gives A / sqrt(2) in every frame.
inline double StereoRmsLevel(double left, double right)
{
    return std::sqrt(StereoPower(left, right));
}

// The peak level: the larger of the two magnitudes.
inline double StereoPeakLevel(double left, double right)
{
    return std::max(std::fabs(left), std::fabs(right));
}
