#include "addons/dynamics/broadband_expander.h"

#include "addons/dynamics/smoothed_expansion.h"
#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/time_coefficient.h"

#include <algorithm>
#include <array>

namespace
{

enum Param
{
    ThresholdDb,
    Ratio,
    AttackMs,
    ReleaseMs,
    RangeDb,
    Mix
};

constexpr AddonIdentity kIdentity{
    "broadband_expander", "Broadband Expander",
    "Reduces low-level wash and over-sustain with a mastering-safe downward expander.",
    "Use when a master feels a little too flattened or roomy and needs more contrast without "
    "obvious gating.",
    ChainPostMatchDynamics};

constexpr std::array<AddonParamDef, 6> kTable{{
    {"threshold_db", "Threshold", kAddonParamContinuous, -60.0, -12.0, -36.0, 0.1, "dB"},
    {"ratio", "Ratio", kAddonParamContinuous, 1.0, 4.0, 1.8, 0.1, ":1"},
    {"attack_ms", "Attack", kAddonParamContinuous, 1.0, 80.0, 8.0, 1.0, "ms"},
    {"release_ms", "Release", kAddonParamContinuous, 20.0, 600.0, 140.0, 1.0, "ms"},
    {"range_db", "Range", kAddonParamContinuous, 0.0, 24.0, 9.0, 0.1, "dB"},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

} // namespace

BroadbandExpander::BroadbandExpander() : AddonBase(kIdentity, kTable)
{
}

// Below the threshold every dB the level falls takes (ratio - 1) dB of gain
// with it, down to the range. The gain closes in the attack time and opens in
// the release time, smoothed in dB so that it never chatters on the edge.
void BroadbandExpander::process(AudioBuffer& buffer, const ProcessContext&)
{
    if (!IsWholeStereoBuffer(buffer) || buffer.sampleRate <= 0)
    {
        return;
    }
    const double ratio = ClampToRange(Value(Ratio), 1.0, 4.0);
    const double rangeDb = ClampToRange(Value(RangeDb), 0.0, 24.0);
    const double mix = ClampToRange(Value(Mix), 0.0, 1.0);
    if (ratio <= 1.0 || rangeDb <= 0.0 || mix <= 0.0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double threshold = ClampToRange(Value(ThresholdDb), -60.0, -12.0);
    const double fs = buffer.sampleRate;
    const double attack = TimeCoefficient(std::max(Value(AttackMs), 1.0), fs);
    const double release = TimeCoefficient(std::max(Value(ReleaseMs), 20.0), fs);

    ExpandSmoothed(
        buffer.samples,
        {.attack = attack, .release = release, .attackWhen = GainAttack::Falling, .mix = mix},
        [&](double levelDb) {
            return levelDb < threshold ? -std::min((threshold - levelDb) * (ratio - 1.0), rangeDb)
                                       : 0.0;
        });
}
