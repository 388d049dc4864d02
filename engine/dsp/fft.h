#pragma once

#include <complex>
#include <cstddef>
#include <cstdint>
#include <vector>

// The one complex FFT of the engine: in-place, iterative, its stages taken two
// at a time as radix-4 passes over the real and imaginary parts held apart. Stage 2, the profile
// fingerprint and the spectral add-ons all use it.

// The tables of one transform size, built once and never changed afterwards.
struct FftPlan
{
    // Entry i is i with its low log2(n) bits reversed.
    std::vector<std::size_t> bitReverse;
    // One vector per butterfly stage, spans 2, 4, ..., n; the vector of span m
    // holds the m/2 factors exp(-2*pi*i*k/m) (forward) or exp(+2*pi*i*k/m) (inverse).
    std::vector<std::vector<std::complex<double>>> forwardTwiddles;
    std::vector<std::vector<std::complex<double>>> inverseTwiddles;
    // The same factors per stage split into parts: the m/2 real parts, then
    // the m/2 imaginary parts (the radix-2 stage of odd log2(n) reads them).
    std::vector<std::vector<double>> forwardSplitTwiddles;
    std::vector<std::vector<double>> inverseSplitTwiddles;
    // For sizes from 16: one table per radix-4 pass after the first, each
    // combining two stages, in the order and grouping the pass reads them.
    std::vector<std::vector<double>> forwardRadix4Twiddles;
    std::vector<std::vector<double>> inverseRadix4Twiddles;
};

// Transforms data in place. Forward (inverse == false) uses the kernel
// exp(-i*w*t) without scaling; inverse uses exp(+i*w*t) and divides by n, so
// Fft(x, true) after Fft(x, false) gives x back. Sizes below 2 or not a power
// of two leave the data unchanged. Safe to call from several threads at once on
// different data; allocates nothing once the size's plan exists and the thread has
// transformed a size as large (it keeps its working parts).
void Fft(std::vector<std::complex<double>>& data, bool inverse);

// The cached plan for size n, built on first request under the engine's one
// lock. The reference stays valid until the process ends.
const FftPlan& GetFftPlan(std::uint64_t n);

// The tables for size n (empty twiddle lists below 2). Used by GetFftPlan.
FftPlan BuildFftPlan(std::uint64_t n);

// How many plans GetFftPlan has built since the process started (diagnostics:
// every distinct size is built exactly once).
std::size_t FftPlanBuildCount();
