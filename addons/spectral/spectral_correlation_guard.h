#pragma once

#include "addons/kit/addon_base.h"

#include <complex>

// The correlation of a left and a right bin: the cosine of their phase
// difference, 1 where either side is silent, so that a bin sounding on one
// side only counts as safe in mono.
double BinCorrelation(std::complex<double> left, std::complex<double> right);

// How far a bin whose correlation envelope is `envelope` is drawn towards its
// mid at the threshold and amount: 0 from the threshold up, rising on a
// smoothstep to the whole amount at a correlation of -1.
double CorrelationNarrowing(double envelope, double threshold, double amount);

// Follows the left/right correlation of every bin and blends the bins that
// would cancel in mono towards their mid, leaving the sum of the two channels
// as it was.
class SpectralCorrelationGuard final : public AddonBase
{
public:
    SpectralCorrelationGuard();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
