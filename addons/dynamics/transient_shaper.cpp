#include "addons/dynamics/transient_shaper.h"

#include "addons/dynamics/transient_gain_loop.h"
#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/transient_index.h"

#include <array>

namespace
{

enum Param
{
    Amount,
    Attack,
    Sustain,
    Mix
};

constexpr AddonIdentity kIdentity{
    "transient_shaper", "Transient Shaper", "Reshapes transient attack and sustain after matching.",
    "Best for dialing punch or tail without broad EQ or compression.", ChainPostMatchDynamics};

constexpr std::array<AddonParamDef, 4> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
    {"attack", "Attack", kAddonParamContinuous, -1.0, 1.0, 0.5, 0.01, ""},
    {"sustain", "Sustain", kAddonParamContinuous, -1.0, 1.0, 0.0, 0.01, ""},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

constexpr TransientFollowerTimes kTimes{
    .fastAttackMs = 0.25, .fastReleaseMs = 18.0, .slowAttackMs = 12.0, .slowReleaseMs = 180.0};
constexpr double kIndexOffset = 0.1;

} // namespace

TransientShaper::TransientShaper() : AddonBase(kIdentity, kTable)
{
}

// The attack control scales the transient index and the sustain control its
// mirror image (the slow level over the fast one, the same size with the
// opposite sign): a positive attack raises attacks and lowers decays, a
// positive sustain does the reverse.
void TransientShaper::process(AudioBuffer& buffer, const ProcessContext&)
{
    const double amount = ClampToRange(Value(Amount), 0.0, 1.0);
    if (amount <= 0.0 || !IsWholeStereoBuffer(buffer) || buffer.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double attackSlope = 1.6 * amount * Value(Attack);
    const double sustainSlope = 1.1 * amount * Value(Sustain);
    ShapeTransients(buffer.samples, buffer.sampleRate,
                    {.times = kTimes,
                     .lowestGain = 0.35,
                     .highestGain = 2.5,
                     .mix = ClampToRange(Value(Mix), 0.0, 1.0)},
                    [&](double fast, double slow)
                    {
                        const double attack = TransientIndex(fast, slow, kIndexOffset);
                        const double sustain = -attack;
                        return 1.0 + attackSlope * attack + sustainSlope * sustain;
                    });
}
