#pragma once

#include <cstdint>
#include <span>

// A 64-bit fingerprint of samples by their bit patterns, so that two signals
// of the same length can be told apart cheaply (one pass, no allocation). Not
// for security: equal hashes only make equal samples very likely. -0.0 and
// 0.0, and NaNs with different payloads, hash differently.
std::uint64_t HashSamples(std::span<const double> samples);
