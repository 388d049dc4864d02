#include "addons/spectral/spectral_declip.h"

#include "addons/kit/moving_average_smooth.h"
#include "addons/kit/spectral_process.h"
#include "addons/spectral/declip_pass.h"
#include "engine/decibels.h"

#include <array>

namespace
{

enum Param
{
    ClipThresholdDb,
    Iterations,
    Oversampling,
    SmoothingBins,
    LowFreqHz,
    HighFreqHz,
    ClipGain,
    Mix
};

constexpr AddonIdentity kIdentity{
    "spectral_declip", "Spectral Declip",
    "Detects hard-clipped or digitally saturated peaks and reconstructs the lost waveform using "
    "iterative bandwidth-limited spectral interpolation. Each pass constrains clipped samples to "
    "be spectrally consistent with their unclipped neighbors, progressively recovering the "
    "natural peak shape. Based on the Papoulis-Gerchberg extrapolation principle.",
    "Use on masters that suffer from digital clipping, over-driven A/D converters, or aggressive "
    "brickwall limiting that has flattened transient peaks. Most effective on material with "
    "short, intermittent clips rather than sustained saturation. Can recover 3-6 dB of headroom "
    "in moderately clipped material.",
    ChainPreMatch};

constexpr std::array<AddonParamDef, 8> kTable{{
    {"clip_threshold_db", "Clip Threshold", kAddonParamContinuous, -3.0, 0.0, -0.1, 0.01, "dB"},
    {"iterations", "Iterations", kAddonParamContinuous, 1.0, 32.0, 8.0, 1.0, ""},
    {"oversampling", "Oversampling", kAddonParamContinuous, 1.0, 2.0, 2.0, 1.0, "x"},
    {"smoothing_bins", "Smoothing", kAddonParamContinuous, 0.0, 8.0, 2.0, 1.0, "bins"},
    {"low_freq_hz", "Low Cutoff", kAddonParamContinuous, 20.0, 200.0, 30.0, 1.0, "Hz"},
    {"high_freq_hz", "High Cutoff", kAddonParamContinuous, 8000.0, 22000.0, 20000.0, 100.0, "Hz"},
    {"clip_gain", "Post Gain", kAddonParamContinuous, -12.0, 0.0, 0.0, 0.1, "dB"},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

} // namespace

SpectralDeclip::SpectralDeclip() : AddonBase(kIdentity, kTable)
{
}

void SpectralDeclip::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const DeclipSettings settings{.clipLevel = DbToGain(Value(ClipThresholdDb)),
                                  .passes = DeclipPassCount(Value(Iterations)),
                                  .frameLength = DeclipFrameLength(Value(Oversampling)),
                                  .smoothingRadius = SmoothingRadius(Value(SmoothingBins)),
                                  .lowHz = Value(LowFreqHz),
                                  .highHz = Value(HighFreqHz),
                                  .postGain = DbToGain(Value(ClipGain))};
    ProcessEachChannelSpectrally(buffer, context, Value(Mix),
                                 [&](std::vector<double>& samples, double sampleRate)
                                 { RunDeclipPass(samples, sampleRate, settings); });
}
