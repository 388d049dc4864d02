#pragma once

#include <complex>
#include <cstddef>
#include <span>
#include <vector>

// The level followers of a spectral add-on, one per bin, stepped once per frame:
// the level follower of the dynamics add-ons (attack while the bin's magnitude
// rises above its envelope, release otherwise) with time constants counted in
// hops, not samples.
struct BinFollowerCoefficients
{
    double attack;
    double release;
};

// The coefficients exp((-hop / fs) / t) for the attack and release times, the
// attack held to at least 1 ms and the release to at least 10 ms.
BinFollowerCoefficients BinFollowerCoefficientsFor(double attackMs, double releaseMs,
                                                   double sampleRate, std::size_t hop);

// Makes the envelopes `count` values of `start` unless they hold exactly
// `count` already, in which case they run on as they are.
void PrepareBinEnvelopes(std::vector<double>& envelopes, std::size_t count, double start);

// Steps envelope k with the magnitude of spectrum bin k, for every envelope.
void FollowBinMagnitudes(std::span<double> envelopes,
                         std::span<const std::complex<double>> spectrum,
                         const BinFollowerCoefficients& coefficients);
