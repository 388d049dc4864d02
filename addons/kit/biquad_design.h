#pragma once

#include "addons/kit/biquad.h"

#include <cmath>
#include <numbers>

// Coefficient designs for the direct-form-I section, from the analogue
// prototypes of the well-known cookbook, mapped by the bilinear transform with
// the centre prewarped so it lands exactly on f.

// The band-pass whose peak stays at 0 dB whatever the Q: a tone at f passes
// unchanged in level and phase, DC and the Nyquist tone are blocked, and the
// band edges, where the gain is -3 dB, lie f/Q apart on the analogue axis. The
// caller keeps fs above 0, f between 0 and fs/2 and Q above 0.
inline BiquadCoefficients ConstantPeakBandPass(double centreHz, double q, double sampleRateHz)
{
    const double w = 2.0 * std::numbers::pi * centreHz / sampleRateHz;
    const double alpha = std::sin(w) / (2.0 * q);
    const double norm = 1.0 / (1.0 + alpha);
    return {alpha * norm, 0.0, -alpha * norm, -2.0 * std::cos(w) * norm, (1.0 - alpha) * norm};
}

// The notch: a tone at f is removed entirely, DC and the Nyquist tone pass at
// 0 dB, and the stop band, measured between its -3 dB edges, is f/Q wide on
// the analogue axis. Same preconditions as above.
inline BiquadCoefficients Notch(double centreHz, double q, double sampleRateHz)
{
    const double w = 2.0 * std::numbers::pi * centreHz / sampleRateHz;
    const double alpha = std::sin(w) / (2.0 * q);
    const double norm = 1.0 / (1.0 + alpha);
    const double edge = -2.0 * std::cos(w) * norm;
    return {norm, edge, norm, edge, (1.0 - alpha) * norm};
}
