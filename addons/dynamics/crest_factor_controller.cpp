#include "addons/dynamics/crest_factor_controller.h"

#include "addons/dynamics/transient_gain_loop.h"
#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/transient_index.h"

#include <array>
#include <cmath>

namespace
{

enum Param
{
    Amount,
    Mix
};

constexpr AddonIdentity kIdentity{
    "crest_factor_controller", "Crest Factor Controller",
    "Pushes the master toward more punch or more density by steering peak-to-body balance.",
    "Use when a master feels too poky or too flat and needs a broadband punch-versus-density "
    "adjustment.",
    ChainPostMatchDynamics};

constexpr std::array<AddonParamDef, 2> kTable{{
    {"amount", "Amount", kAddonParamContinuous, -1.0, 1.0, 0.0, 0.01, ""},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

constexpr TransientFollowerTimes kTimes{
    .fastAttackMs = 0.35, .fastReleaseMs = 18.0, .slowAttackMs = 16.0, .slowReleaseMs = 220.0};
constexpr double kIndexOffset = 0.05;

} // namespace

CrestFactorController::CrestFactorController() : AddonBase(kIdentity, kTable)
{
}

// A positive amount steers towards punch: attacks up, decays down. A negative
// one steers towards density: attacks down, decays up, and the whole track
// lifted by 0.18 per unit of amount, so steady material comes out louder.
void CrestFactorController::process(AudioBuffer& buffer, const ProcessContext&)
{
    const double amount = ClampToRange(Value(Amount), -1.0, 1.0);
    const double mix = ClampToRange(Value(Mix), 0.0, 1.0);
    if (std::fabs(amount) < 1e-6 || mix <= 0.0 || !IsWholeStereoBuffer(buffer) ||
        buffer.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double slope = amount >= 0.0 ? 0.95 * amount : 0.75 * amount;
    const double lift = amount >= 0.0 ? 0.0 : -0.18 * amount;
    ShapeTransients(buffer.samples, buffer.sampleRate,
                    {.times = kTimes, .lowestGain = 0.55, .highestGain = 1.75, .mix = mix},
                    [&](double fast, double slow)
                    { return 1.0 + slope * TransientIndex(fast, slow, kIndexOffset) + lift; });
}
