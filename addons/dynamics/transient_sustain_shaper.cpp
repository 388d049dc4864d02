#include "addons/dynamics/transient_sustain_shaper.h"

#include "addons/dynamics/transient_gain_loop.h"
#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"

#include <algorithm>
#include <array>

namespace
{

enum Param
{
    Amount,
    Sustain,
    BodyMs,
    Mix
};

constexpr AddonIdentity kIdentity{
    "transient_sustain_shaper", "Transient Sustain Shaper",
    "Shapes sustain and body after the transient hit without explicitly pushing attack harder.",
    "Use when the match needs shorter tails or more body bloom without broader compression "
    "changes.",
    ChainPostMatchDynamics};

constexpr std::array<AddonParamDef, 4> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.55, 0.01, ""},
    {"sustain", "Sustain", kAddonParamContinuous, -1.0, 1.0, 0.5, 0.01, ""},
    {"body_ms", "Body Window", kAddonParamContinuous, 40.0, 300.0, 140.0, 1.0, "ms"},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

// The body follower trails the fast one until well after a hit; the tail is
// where it stands above this share of the fast level.
constexpr double kTailShare = 0.82;
constexpr double kOffset = 0.08;

} // namespace

TransientSustainShaper::TransientSustainShaper() : AddonBase(kIdentity, kTable)
{
}

// Only the tail is shaped: the gain moves with how far the body follower
// stands above 82 % of the fast one, which stays at or below 0 through the
// attack itself. A follower holding something other than a number reads -1,
// as in the steepest attack, so a bad sample never turns a gain into NaN.
void TransientSustainShaper::process(AudioBuffer& buffer, const ProcessContext&)
{
    const double amount = ClampToRange(Value(Amount), 0.0, 1.0);
    const double sustain = ClampToRange(Value(Sustain), -1.0, 1.0);
    const double mix = ClampToRange(Value(Mix), 0.0, 1.0);
    if (amount <= 0.0 || mix <= 0.0 || !IsWholeStereoBuffer(buffer) || buffer.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double bodyMs = Value(BodyMs);
    const TransientFollowerTimes times{.fastAttackMs = 0.4,
                                       .fastReleaseMs = 18.0,
                                       .slowAttackMs = std::max(bodyMs, 40.0),
                                       .slowReleaseMs = std::max(1.6 * bodyMs, 60.0)};
    const double slope = 1.35 * sustain * amount;
    ShapeTransients(buffer.samples, buffer.sampleRate,
                    {.times = times, .lowestGain = 0.35, .highestGain = 2.2, .mix = mix},
                    [&](double fast, double body)
                    {
                        const double tail = ClampToRange(
                            (body - kTailShare * fast) / std::max(body + kOffset, 1e-6), -1.0, 1.0);
                        return 1.0 + slope * tail;
                    });
}
