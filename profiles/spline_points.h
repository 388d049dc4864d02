#pragma once

#include <cstddef>
#include <span>
#include <vector>

// Curve edits of a profile's spectra: control points in dB, equally spaced on a
// log-frequency axis, joined by a uniform Catmull-Rom spline. The spectrum
// editor draws them and the profile editors apply them with these functions.

// Where bin `bin` of `binCount` lies on the log-frequency axis, 0..1: 20 Hz (and
// below) at 0, top = max(sampleRate / 2, 1000 Hz) (and above) at 1. An FFT size
// below 3 is taken as 2. 0 when binCount < 2.
double LogFrequencyAxis(std::size_t bin, std::size_t binCount, int sampleRate, int fftSize);

// The spline through `points` at axis position x (clamped to 0..1, NaN read as
// 0); point j of m sits at j / (m - 1), the end points are repeated beyond the
// ends. The curve passes through every point and may overshoot between them.
// 0 for no points, the one value for a single point.
double EvaluateSplinePoints(std::span<const double> points, double x);

// max(n, 4) values sampled from `points` by linear interpolation (not along the
// spline), the first and last points kept: zeros for no points, copies of a
// single point.
std::vector<double> ResampleSplinePoints(std::span<const double> points, int n);

// Adds a curve edit to a spectrum of dB per bin: bin i of n, at axis position
// x = LogFrequencyAxis(i, n, sampleRate, fftSize), gains
// (2x - 1) * tiltDb + contourScale * EvaluateSplinePoints(points, x).
// The spline value is not clamped. Nothing changes when the spectrum or the
// point set is empty.
void AddSplineCorrection(std::vector<double>& spectrumDb, std::span<const double> points,
                         int sampleRate, int fftSize, double contourScale, double tiltDb);
