#include "addons/dynamics/upward_expander.h"

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
    Amount,
    AttackMs,
    ReleaseMs,
    MaxLiftDb,
    Mix
};

constexpr AddonIdentity kIdentity{
    "upward_expander", "Upward Expander",
    "Lifts low-level material below threshold to restore contrast without obvious compression "
    "color.",
    "Use when the master feels too flat or over-contained and needs more low-level life rather "
    "than more punch.",
    ChainPostMatchDynamics};

constexpr std::array<AddonParamDef, 6> kTable{{
    {"threshold_db", "Threshold", kAddonParamContinuous, -60.0, -12.0, -34.0, 0.1, "dB"},
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.55, 0.01, ""},
    {"attack_ms", "Attack", kAddonParamContinuous, 1.0, 100.0, 10.0, 1.0, "ms"},
    {"release_ms", "Release", kAddonParamContinuous, 20.0, 600.0, 180.0, 1.0, "ms"},
    {"max_lift_db", "Max Lift", kAddonParamContinuous, 0.0, 12.0, 6.0, 0.1, "dB"},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

// dB of lift per dB under the threshold at full amount.
constexpr double kLiftPerDbAtFullAmount = 0.38;

} // namespace

UpwardExpander::UpwardExpander() : AddonBase(kIdentity, kTable)
{
}

// Material under the threshold is lifted by a share of its distance below it,
// up to the maximum lift. The lift rises in the attack time and falls back in
// the release time, smoothed in dB.
void UpwardExpander::process(AudioBuffer& buffer, const ProcessContext&)
{
    if (!IsWholeStereoBuffer(buffer) || buffer.sampleRate <= 0)
    {
        return;
    }
    const double amount = ClampToRange(Value(Amount), 0.0, 1.0);
    const double maxLiftDb = ClampToRange(Value(MaxLiftDb), 0.0, 12.0);
    const double mix = ClampToRange(Value(Mix), 0.0, 1.0);
    if (amount <= 0.0 || maxLiftDb <= 0.0 || mix <= 0.0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double threshold = ClampToRange(Value(ThresholdDb), -60.0, -12.0);
    const double liftPerDb = kLiftPerDbAtFullAmount * amount;
    const double fs = buffer.sampleRate;
    const double attack = TimeCoefficient(std::max(Value(AttackMs), 1.0), fs);
    const double release = TimeCoefficient(std::max(Value(ReleaseMs), 20.0), fs);

    ExpandSmoothed(
        buffer.samples,
        {.attack = attack, .release = release, .attackWhen = GainAttack::Rising, .mix = mix},
        [&](double levelDb) {
            return levelDb < threshold ? std::min((threshold - levelDb) * liftPerDb, maxLiftDb)
                                       : 0.0;
        });
}
