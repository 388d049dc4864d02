#pragma once

#include <cstddef>
#include <span>
#include <vector>

// The plain cross-correlation of the two channels of an interleaved stereo
// track at every lag k from -maxLag to +maxLag: c(k) is the sum, over every
// frame i with 0 <= i + k < N, of left[i] * right[i + k], and lands at index
// k + maxLag. A lag with no such frame sums to 0.
//
// Several lags are summed in one pass over a stretch of the track that sits
// in the cache, but each lag's terms are still added one after the other in
// increasing i, so every sum is bit for bit the one the textbook loop gives
// (a transform-based correlation rounds differently and can swap near-equal
// maxima).
std::vector<double> LagCorrelations(std::span<const double> interleaved, std::ptrdiff_t maxLag);
