#include "addons/dynamics/punch_enhancer.h"

#include "addons/dynamics/transient_gain_loop.h"
#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/transient_index.h"

#include <algorithm>
#include <array>

namespace
{

enum Param
{
    Amount,
    Attack,
    Body,
    Mix
};

constexpr AddonIdentity kIdentity{"punch_enhancer", "Punch Enhancer",
                                  "Enhances attack and body to increase punch.",
                                  "Use when drums or rhythmic material need more impact after "
                                  "matching.",
                                  ChainPostMatchDynamics};

constexpr std::array<AddonParamDef, 4> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
    {"attack", "Attack", kAddonParamContinuous, 0.0, 1.0, 0.55, 0.01, ""},
    {"body", "Body", kAddonParamContinuous, 0.0, 1.0, 0.25, 0.01, ""},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

constexpr TransientFollowerTimes kTimes{
    .fastAttackMs = 0.15, .fastReleaseMs = 14.0, .slowAttackMs = 9.0, .slowReleaseMs = 120.0};
constexpr double kOffset = 0.08;

} // namespace

PunchEnhancer::PunchEnhancer() : AddonBase(kIdentity, kTable)
{
}

// Two terms: the attack term lifts what rises over the slow level, and the
// body term follows the ratio of slow to fast level, which sits a little under
// 1 on steady material and above it once a hit has passed. A follower holding
// something other than a number reads a body ratio of 0.
void PunchEnhancer::process(AudioBuffer& buffer, const ProcessContext&)
{
    const double amount = ClampToRange(Value(Amount), 0.0, 1.0);
    if (amount <= 0.0 || !IsWholeStereoBuffer(buffer) || buffer.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double attackSlope = 1.3 * amount * Value(Attack);
    const double bodySlope = 0.6 * amount * Value(Body);
    ShapeTransients(buffer.samples, buffer.sampleRate,
                    {.times = kTimes,
                     .lowestGain = 0.45,
                     .highestGain = 2.2,
                     .mix = ClampToRange(Value(Mix), 0.0, 1.0)},
                    [&](double fast, double slow)
                    {
                        const double bodyRatio =
                            ClampToRange(slow / std::max(fast + kOffset, 1e-6), 0.0, 1.5);
                        return 1.0 + attackSlope * TransientIndex(fast, slow, kOffset) +
                               bodySlope * (bodyRatio - 1.0);
                    });
}
