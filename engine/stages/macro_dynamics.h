#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <vector>

// 10th, 25th, 50th, 75th and 90th percentile, in that order.
using PercentileSet = std::array<double, 5>;

// The macro-dynamics step of stage 3: a slowly varying gain curve that widens
// or narrows the track's distribution of 3-second levels towards the
// reference's short-term loudness distribution.
struct MacroDynamicsResult
{
    std::vector<double> gain; // linear, one value per sample, or empty
    bool macroAttempted = false;
    bool macroApplied = false;
    PercentileSet currentPercentiles{};   // the track's 3-s window levels, dB
    PercentileSet referencePercentiles{}; // the reference's short-term loudness, LUFS
    double currentLoudnessRange = 0.0;
    double referenceLoudnessRange = 0.0;
    double minGainDb = 0.0;
    double maxGainDb = 0.0;
    double meanGainDb = 0.0;
};

// A sample as the level measurements of stage 3 read it: clamped to full
// scale, NaN as silence (one bad sample must not turn a whole curve to NaN).
inline double ClampedForMeasurement(double x)
{
    return std::isnan(x) ? 0.0 : std::clamp(x, -1.0, 1.0);
}

// Levels in dB of windows of windowLength samples every hopLength samples
// (samples clamped to [-1, 1], NaN read as 0, RMS floored before the log).
// Empty when x is shorter than one window or a length or the rate is <= 0.
std::vector<double> WindowedRmsDb(std::span<const double> x, int sampleRate, double floor,
                                  long long windowLength, long long hopLength);

// Linearly interpolated percentiles; all 0 for an empty list.
PercentileSet Percentiles(std::span<const double> values);

// The gain curve stays within +-3 dB. No curve (macroApplied false) when the
// strength is <= 0, the signal is empty or shorter than two 3-s windows a
// second apart, the rate is <= 0, or the reference figures are not finite.
MacroDynamicsResult MacroDynamicsGain(std::span<const double> x, int sampleRate, double floor,
                                      const PercentileSet& referencePercentiles,
                                      double referenceLoudnessRange, double macroStrength);
