#include "addons/dynamics/micro_dynamics_restorer.h"

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
    Mix
};

constexpr AddonIdentity kIdentity{"micro_dynamics_restorer", "Micro Dynamics Restorer",
                                  "Restores fine transient contrast after dense processing.",
                                  "Use when the match feels flattened but not globally "
                                  "over-compressed.",
                                  ChainPostMatchDynamics};

constexpr std::array<AddonParamDef, 2> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

constexpr TransientFollowerTimes kTimes{
    .fastAttackMs = 0.5, .fastReleaseMs = 20.0, .slowAttackMs = 18.0, .slowReleaseMs = 220.0};
constexpr double kIndexOffset = 0.05;

} // namespace

MicroDynamicsRestorer::MicroDynamicsRestorer() : AddonBase(kIdentity, kTable)
{
}

// Attacks are lifted and decays lowered by up to 0.9 of the transient index,
// within a narrow range, so steady material keeps its level. There is no early
// return on the mix: at mix 0 every value is written back as it came in.
void MicroDynamicsRestorer::process(AudioBuffer& buffer, const ProcessContext&)
{
    const double amount = ClampToRange(Value(Amount), 0.0, 1.0);
    if (amount <= 0.0 || !IsWholeStereoBuffer(buffer) || buffer.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double slope = 0.9 * amount;
    ShapeTransients(buffer.samples, buffer.sampleRate,
                    {.times = kTimes,
                     .lowestGain = 0.75,
                     .highestGain = 1.5,
                     .mix = ClampToRange(Value(Mix), 0.0, 1.0)},
                    [&](double fast, double slow)
                    { return 1.0 + slope * TransientIndex(fast, slow, kIndexOffset); });
}
