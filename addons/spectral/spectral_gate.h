#pragma once

#include "addons/kit/addon_base.h"

// The gate's levels on the scale of the spectral frame's bin magnitudes (a
// full-scale sine centred on a bin reads 1024 with N = 4096, about +60 dB).
struct SpectralGateLevels
{
    double threshold; // linear
    double floor;     // linear
    double rangeGain; // linear gain of a closed bin
    double thresholdDb;
    double floorDb;
};

SpectralGateLevels MakeSpectralGateLevels(double thresholdDb, double floorDb, double rangeDb);

// The gain of a bin inside the band whose envelope is `envelope`: the range
// gain below the floor, unity from the threshold on, and between the two a
// smoothstep in dB from the one to the other. A floor above the threshold
// leaves the range gain and unity alone.
double SpectralGateGain(const SpectralGateLevels& levels, double envelope);

// Attenuates, in each channel on its own, the bins whose level stays below a
// threshold, each bin with its own follower.
class SpectralGate final : public AddonBase
{
public:
    SpectralGate();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
