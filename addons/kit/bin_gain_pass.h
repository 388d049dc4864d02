#pragma once

#include "engine/audio_buffer.h"
#include "engine/chain/audio_processor.h"

#include <functional>
#include <vector>

// The spectral pass of the add-ons that follow every bin's level and turn it
// into a gain (the spectral gate and the spectral dynamics), over one channel
// with N = 4096. Every frame each bin's envelope, starting at 0, follows its
// magnitude; the law gives the gains of the bins inside the band, the others
// keep unity; the gains are smoothed across the bins, and every bin 0 to N / 2
// is multiplied by the make-up times its gain.

struct BinGainPassSettings
{
    double attackMs;
    double releaseMs;
    double lowHz;
    double highHz;
    double smoothingBins;
    double makeup = 1.0;
};

// The gain of a bin inside the band from its envelope.
using BinGainLaw = std::function<double(double envelope)>;

// The channel's samples, dry on entry, come out wet.
void RunBinGainPass(std::vector<double>& samples, double sampleRate,
                    const BinGainPassSettings& settings, const BinGainLaw& law);

// The whole process of such an add-on: each channel through the pass with its
// own envelopes, under the guards and the mix of the spectral add-ons
// (addons/kit/spectral_process.h).
void ProcessWithBinGains(AudioBuffer& buffer, const ProcessContext& context, double mix,
                         const BinGainPassSettings& settings, const BinGainLaw& law);
