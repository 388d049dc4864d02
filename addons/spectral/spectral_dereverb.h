#pragma once

#include "addons/kit/addon_base.h"

#include <span>

// The levels of the de-reverb on the scale of the spectral frame's bin
// magnitudes (a full-scale sine centred on a bin reads 1024 with N = 4096).
struct DeReverbLevels
{
    double amount;    // the share of the floor taken away, 0 .. 1
    double threshold; // a floor below this is left alone
    double floor;     // no bin is pulled below this magnitude
};

// The gain of a bin inside the band whose magnitude is `magnitude` and whose
// reverb floor is `reverbFloor`: power subtraction of amount x the floor,
// never pulling the bin below the absolute floor, unity when the scaled floor
// lies below the threshold.
double DeReverbGain(const DeReverbLevels& levels, double magnitude, double reverbFloor);

// Lowers the steady, diffuse part of each channel's spectrum: a first pass
// over the whole track finds every bin's reverb floor, a second takes that
// floor away from every frame.
class SpectralDeReverb final : public AddonBase
{
public:
    SpectralDeReverb();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
