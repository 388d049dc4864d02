#include "addons/spectral/spectral_gate.h"

#include "addons/kit/bin_gain_pass.h"
#include "engine/decibels.h"

#include <algorithm>
#include <array>

namespace
{

enum Param
{
    ThresholdDb,
    RangeDb,
    FloorDb,
    AttackMs,
    ReleaseMs,
    SmoothingBins,
    LowFreqHz,
    HighFreqHz,
    Mix
};

constexpr AddonIdentity kIdentity{
    "spectral_gate", "Spectral Gate",
    "A per-frequency-bin noise gate that works in the spectral domain. Individually attenuates "
    "frequency bins that fall below a threshold, removing noise floor, room wash, and low-level "
    "artifacts without affecting the harmonic content of the signal above the threshold.",
    "Use to clean up broadband noise floor, hiss, or room tone in masters where a traditional "
    "gate or expander would be too heavy-handed. Particularly effective on acoustic recordings "
    "and vinyl transfers.",
    ChainPreMatch};

constexpr std::array<AddonParamDef, 9> kTable{{
    {"threshold_db", "Threshold", kAddonParamContinuous, -80.0, -20.0, -60.0, 0.5, "dB"},
    {"range_db", "Range", kAddonParamContinuous, -80.0, -6.0, -40.0, 0.5, "dB"},
    {"floor_db", "Floor", kAddonParamContinuous, -120.0, -40.0, -90.0, 1.0, "dB"},
    {"attack_ms", "Attack", kAddonParamContinuous, 0.5, 50.0, 5.0, 0.5, "ms"},
    {"release_ms", "Release", kAddonParamContinuous, 10.0, 500.0, 120.0, 1.0, "ms"},
    {"smoothing_bins", "Smoothing", kAddonParamContinuous, 0.0, 12.0, 3.0, 1.0, "bins"},
    {"low_freq_hz", "Low Cutoff", kAddonParamContinuous, 20.0, 500.0, 60.0, 1.0, "Hz"},
    {"high_freq_hz", "High Cutoff", kAddonParamContinuous, 4000.0, 20000.0, 18000.0, 100.0, "Hz"},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

// Levels below this read as this many dB instead of -infinity.
constexpr double kLeastLevel = 1e-18;

// The smoothstep's span in dB never falls below this, so a floor at the
// threshold does not divide by 0.
constexpr double kLeastSpanDb = 0.01;

} // namespace

SpectralGateLevels MakeSpectralGateLevels(double thresholdDb, double floorDb, double rangeDb)
{
    const double threshold = DbToGain(thresholdDb);
    const double floor = DbToGain(floorDb);
    return {threshold, floor, DbToGain(rangeDb), GainToDb(threshold, kLeastLevel),
            GainToDb(floor, kLeastLevel)};
}

double SpectralGateGain(const SpectralGateLevels& levels, double envelope)
{
    if (envelope < levels.floor)
    {
        return levels.rangeGain;
    }
    if (envelope < levels.threshold)
    {
        const double y = (GainToDb(envelope, kLeastLevel) - levels.floorDb) /
                         std::max(levels.thresholdDb - levels.floorDb, kLeastSpanDb);
        return (3.0 - 2.0 * y) * y * y * (1.0 - levels.rangeGain) + levels.rangeGain;
    }
    return 1.0;
}

SpectralGate::SpectralGate() : AddonBase(kIdentity, kTable)
{
}

void SpectralGate::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const SpectralGateLevels levels =
        MakeSpectralGateLevels(Value(ThresholdDb), Value(FloorDb), Value(RangeDb));
    const BinGainPassSettings settings{.attackMs = Value(AttackMs),
                                       .releaseMs = Value(ReleaseMs),
                                       .lowHz = Value(LowFreqHz),
                                       .highHz = Value(HighFreqHz),
                                       .smoothingBins = Value(SmoothingBins)};
    ProcessWithBinGains(buffer, context, Value(Mix), settings,
                        [&](double envelope) { return SpectralGateGain(levels, envelope); });
}
