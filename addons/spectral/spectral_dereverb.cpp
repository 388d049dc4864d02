#include "addons/spectral/spectral_dereverb.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/moving_average_smooth.h"
#include "addons/kit/spectral_band.h"
#include "addons/kit/spectral_frame.h"
#include "addons/kit/spectral_process.h"
#include "addons/spectral/reverb_floor.h"
#include "engine/decibels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace
{

enum Param
{
    Amount,
    ReverbTimeMs,
    ThresholdDb,
    FloorDb,
    SmoothingBins,
    LowFreqHz,
    HighFreqHz,
    Mix
};

constexpr AddonIdentity kIdentity{
    "spectral_dereverb", "Spectral De-Reverb",
    "Estimates the diffuse reverb tail per frequency bin across the entire signal, then subtracts "
    "it using power-domain spectral subtraction to reveal the direct sound. Two-pass process: "
    "first analyzes the full track to build a statistical reverb floor estimate, then processes "
    "each frame against that estimate.",
    "Use to reduce room wash, boxy ambience, or excessive reverb tail in masters where the "
    "original mix has too much room sound. Most effective on recordings with consistent room "
    "tone. Not a substitute for re-mixing, but can recover clarity in difficult source material.",
    ChainPreMatch};

constexpr std::array<AddonParamDef, 8> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
    {"reverb_time_ms", "Reverb Time", kAddonParamContinuous, 50.0, 3000.0, 400.0, 10.0, "ms"},
    {"threshold_db", "Threshold", kAddonParamContinuous, -80.0, -10.0, -40.0, 0.5, "dB"},
    {"floor_db", "Floor", kAddonParamContinuous, -120.0, -30.0, -80.0, 1.0, "dB"},
    {"smoothing_bins", "Smoothing", kAddonParamContinuous, 0.0, 16.0, 4.0, 1.0, "bins"},
    {"low_freq_hz", "Low Cutoff", kAddonParamContinuous, 20.0, 500.0, 80.0, 1.0, "Hz"},
    {"high_freq_hz", "High Cutoff", kAddonParamContinuous, 4000.0, 20000.0, 16000.0, 100.0, "Hz"},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

// A bin this quiet has no magnitude to divide by; it goes to the floor.
constexpr double kLeastMagnitude = 1e-18;

struct DeReverbPass
{
    DeReverbLevels levels;
    double lowHz;
    double highHz;
    double smoothingBins;
};

// The second pass over one channel: every frame's bins inside the band lose
// their share of the floor, the gains smoothed across the bins first.
void TakeAwayReverbFloor(std::vector<double>& samples, double sampleRate, const DeReverbPass& pass,
                         std::span<const double> reverbFloor)
{
    SpectralFrame frame(kSpectralFrameLength);
    const std::size_t bins = frame.BinCount();
    const SpectralBand band =
        SpectralBandLimits(pass.lowHz, pass.highHz, sampleRate, kSpectralFrameLength);
    const int radius = SmoothingRadius(pass.smoothingBins);
    std::vector<double> gains(bins);
    std::vector<double> prefix(bins + 1);
    frame.Process(samples, samples,
                  [&](FrameSpectrum& spectrum)
                  {
                      for (std::size_t k = 0; k < bins; ++k)
                      {
                          gains[k] =
                              band.Contains(k)
                                  ? DeReverbGain(pass.levels, std::abs(spectrum[k]), reverbFloor[k])
                                  : 1.0;
                      }
                      MovingAverageSmooth(gains, radius, prefix);
                      for (std::size_t k = 0; k < bins; ++k)
                      {
                          spectrum[k] *= gains[k];
                      }
                  });
}

} // namespace

double DeReverbGain(const DeReverbLevels& levels, double magnitude, double reverbFloor)
{
    const double removed = levels.amount * reverbFloor;
    if (removed < levels.threshold)
    {
        return 1.0;
    }
    if (magnitude <= kLeastMagnitude)
    {
        return levels.floor;
    }
    const double keptFloor = std::min(levels.floor / magnitude, 1.0);
    const double subtracted =
        std::sqrt(std::max(magnitude * magnitude - removed * removed, 0.0)) / magnitude;
    return ClampToRange(std::max(keptFloor, subtracted), 0.0, 1.0);
}

SpectralDeReverb::SpectralDeReverb() : AddonBase(kIdentity, kTable)
{
}

void SpectralDeReverb::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double amount = ClampToRange(Value(Amount), 0.0, 1.0);
    if (amount < kLeastSpectralShare)
    {
        return;
    }
    const DeReverbPass pass{.levels = {.amount = amount,
                                       .threshold = DbToGain(Value(ThresholdDb)),
                                       .floor = DbToGain(Value(FloorDb))},
                            .lowHz = Value(LowFreqHz),
                            .highHz = Value(HighFreqHz),
                            .smoothingBins = Value(SmoothingBins)};
    std::array<std::vector<double>, 2> reverbFloors;
    MeasureThenProcessEachChannelSpectrally(
        buffer, context, Value(Mix),
        [&](std::size_t channel, std::span<const double> samples, double sampleRate)
        { reverbFloors[channel] = EstimateReverbFloor(samples, sampleRate, Value(ReverbTimeMs)); },
        [&](std::size_t channel, std::vector<double>& samples, double sampleRate)
        { TakeAwayReverbFloor(samples, sampleRate, pass, reverbFloors[channel]); });
}
