#pragma once

#include <cstddef>
#include <span>
#include <vector>

// Maxima over a moving window, each in one pass with a monotonic queue of
// indices, so the cost does not grow with the window. All results have the
// input's length; the window is clipped at both ends of the signal.

// out[i] = max of x over [i - before, i + after], clipped to the signal.
std::vector<double> WindowMax(std::span<const double> x, size_t before, size_t after);

// out[i] = max of x over [max(0, i - length + 1), i]; a copy when x is empty
// or length < 2.
std::vector<double> RunningMax(std::span<const double> x, size_t length);

// out[i] = max of x over [i, min(n - 1, i + length - 1)]: what is coming.
std::vector<double> FutureMax(std::span<const double> x, size_t length);

// out[i] = max of x over the last `length` samples up to i, where positions
// before the start count as 0.
std::vector<double> SlidingMax(std::span<const double> x, size_t length);
