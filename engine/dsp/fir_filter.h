#pragma once

#include <cstddef>
#include <functional>
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
// filter's length, not the signal's. An empty h gives silence.
std::vector<double> FastConvolve(std::span<const double> x, std::span<const double> h);

// Receives consecutive outputs of a convolution: y[first + t] = filtered[t].
using FilteredBlockSink = std::function<void(std::size_t first, std::span<const double> filtered)>;

// FastConvolve's output, handed to sink block by block in ascending order
// instead of collected, so that a caller can use each block at once. Every
// input sample is read before its own output is handed over and never after,
// so the sink may overwrite x at the indices it has received: filtering in
// place needs no second whole signal.
void FastConvolveBlocks(std::span<const double> x, std::span<const double> h,
                        const FilteredBlockSink& sink);
