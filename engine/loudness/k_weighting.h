#pragma once

#include <span>
#include <vector>

// One second-order section, normalised so that a0 = 1:
// y[n] = b0 x[n] + b1 x[n-1] + b2 x[n-2] - a1 y[n-1] - a2 y[n-2].
struct BiquadCoefficients
{
    double b0 = 1.0;
    double b1 = 0.0;
    double b2 = 0.0;
    double a1 = 0.0;
    double a2 = 0.0;
};

// The two stages of the loudness meter's K-weighting at sampleRate: the
// cookbook high shelf and high-pass fed with the K-filter's frequencies, gain
// and Q. At 48 kHz the shelf differs slightly from the table printed in
// BS.1770 (the meter reads about 0.25 LU low on a 1 kHz tone); stored profiles
// were measured with these values, so they stay.
BiquadCoefficients KWeightShelfCoefficients(double sampleRate);
BiquadCoefficients KWeightHighPassCoefficients(double sampleRate);

// One channel through the shelf and then the high-pass, direct form I from a
// zero state; same length as the input. A sample rate below 1 is refused
// (std::invalid_argument).
std::vector<double> KWeightChannel(std::vector<double> channel, int sampleRate);

// The running sums of squares (as CumulativeSquares) of both K-weighted
// channels of an interleaved stereo signal, made in one pass without a filtered
// copy of the track. Each vector gets frames + 1 values. A sample rate below 1
// is refused (std::invalid_argument).
void KWeightedCumulativeSquares(std::span<const double> interleaved, int sampleRate,
                                std::vector<double>& leftSums, std::vector<double>& rightSums);
