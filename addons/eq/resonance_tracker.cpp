#include "addons/eq/resonance_tracker.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/level_follower.h"
#include "addons/kit/state_variable_filter.h"
#include "addons/kit/stereo_level.h"
#include "addons/kit/time_coefficient.h"
#include "engine/decibels.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

namespace
{

enum Param
{
    Amount,
    FocusHz,
    Bandwidth,
    Sensitivity,
    MaxReductionDb
};

constexpr AddonIdentity kIdentity{
    "resonance_tracker", "Resonance Tracker",
    "Tracks the strongest narrow resonance near a focus region and tames it adaptively as it "
    "shifts.",
    "Use on ringy vocals, cymbal bite, or moving harshness that a static notch does not catch "
    "reliably.",
    ChainPostMatchTone};

constexpr std::array<AddonParamDef, 5> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.6, 0.01, ""},
    {"focus_hz", "Focus", kAddonParamContinuous, 800.0, 8000.0, 3200.0, 10.0, "Hz"},
    {"bandwidth", "Bandwidth", kAddonParamContinuous, 0.15, 1.2, 0.45, 0.01, ""},
    {"sensitivity", "Sensitivity", kAddonParamContinuous, 0.0, 1.0, 0.55, 0.01, ""},
    {"max_reduction_db", "Max Reduction", kAddonParamContinuous, 0.0, 12.0, 6.0, 0.1, "dB"},
}};

// The three watched bands sit just under, on and just over the focus.
constexpr std::array<double, 3> kBandRatios{0.82, 1.0, 1.18};

// One watched band: its filter in each channel and its follower.
struct WatchedBand
{
    StateVariableCoefficients coefficients;
    std::array<StateVariableState, 2> filters{};
    double envelope = 0.0;
    double left = 0.0;
    double right = 0.0;
};

} // namespace

ResonanceTracker::ResonanceTracker() : AddonBase(kIdentity, kTable)
{
}

// Each frame the band whose follower stands highest is the resonance of the
// moment (the lower band wins a tie), and only its signal is turned down, by
// p dB per dB over the threshold up to the cap. The filters and followers
// start at rest in every call.
void ResonanceTracker::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer) || context.sampleRate <= 0 ||
        buffer.sampleRate <= 0)
    {
        return;
    }
    const double capDb = a * ClampToRange(Value(MaxReductionDb), 0.0, 12.0);
    if (capDb <= 0.0)
    {
        return; // no band may be cut: every gain would be exactly 1
    }
    const ScopedDenormalFlush flush;
    const double focus = ClampToRange(Value(FocusHz), 800.0, 8000.0);
    const double q = 1.1 / ClampToRange(Value(Bandwidth), 0.15, 1.2);
    const double damping = 1.0 / std::max(q, 0.1);
    const double s = ClampToRange(Value(Sensitivity), 0.0, 1.0);
    const double thresholdDb = (1.0 - s) * 16.0 - 28.0;
    const double slope = 0.45 * s + 0.45;
    const double capGain = DbToGain(-capDb);
    // A follower this far under the threshold's level is under it in dB too,
    // whatever the rounding of the logarithm, which it is spared.
    const double surelyUnder = DbToGain(thresholdDb) * (1.0 - 1e-9);
    const double attack = TimeCoefficient(5.0, buffer.sampleRate);
    const double release = TimeCoefficient(90.0, buffer.sampleRate);

    std::array<WatchedBand, 3> bands;
    for (size_t b = 0; b < bands.size(); ++b)
    {
        bands[b].coefficients = StateVariableCoefficientsFor(
            ClampToRange(kBandRatios[b] * focus, 200.0, 12000.0), damping, context.sampleRate);
    }

    std::vector<double>& x = buffer.samples;
    for (size_t i = 0; i < x.size(); i += 2)
    {
        for (WatchedBand& band : bands)
        {
            band.left = StateVariableStep(band.filters[0], x[i], band.coefficients).band;
            band.right = StateVariableStep(band.filters[1], x[i + 1], band.coefficients).band;
            FollowLevel(band.envelope, StereoPeakLevel(band.left, band.right), attack, release);
        }
        const WatchedBand* loudest = &bands[0];
        for (const WatchedBand& band : bands)
        {
            if (band.envelope > loudest->envelope)
            {
                loudest = &band;
            }
        }
        if (loudest->envelope <= surelyUnder)
        {
            continue;
        }
        const double overDb = DecibelLevel(loudest->envelope) - thresholdDb;
        if (overDb > 0.0)
        {
            const double reductionDb = overDb * slope;
            const double g = reductionDb >= capDb ? capGain : DbToGain(-reductionDb);
            x[i] += (g - 1.0) * loudest->left;
            x[i + 1] += (g - 1.0) * loudest->right;
        }
    }
}
