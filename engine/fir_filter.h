#pragma once

#include <span>
#include <vector>

// The linear-phase FIR of stage 2 and its fast application.

// The fftSize taps of a zero-phase filter with the given magnitude response
// (fftSize / 2 + 1 linear values), centred on tap fftSize / 2 and Hann-windowed.
// Throws std::invalid_argument when fftSize is not a power of two of at least 2
// or the curve is not fftSize / 2 + 1 long.
std::vector<double> DesignFirFromCurve(const std::vector<double>& curve, int fftSize);

// x filtered by h, aligned on the filter's centre tap h.size() / 2 and as long
// as x: y[j] = sum over k of h[k] * x[j + h.size() / 2 - k], with x zero outside
// its length. Overlap-save in blocks, so the working memory follows the
// filter's length, not the signal's. An empty x or h gives zeros.
std::vector<double> FastConvolve(std::span<const double> x, std::span<const double> h);
