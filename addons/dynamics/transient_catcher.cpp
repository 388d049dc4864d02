#include "addons/dynamics/transient_catcher.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/level_follower.h"
#include "addons/kit/stereo_level.h"
#include "addons/kit/time_coefficient.h"

#include <algorithm>
#include <array>

namespace
{

enum Param
{
    Amount,
    Threshold,
    ReleaseMs
};

constexpr AddonIdentity kIdentity{
    "transient_catcher", "Transient Catcher",
    "Catches very fast overs before the final limiter reacts to them.",
    "Best when short transient spikes are forcing more limiting than the body needs.",
    ChainPreLimiter};

// The threshold is a linear sample level, a fraction of full scale.
constexpr std::array<AddonParamDef, 3> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
    {"threshold", "Threshold", kAddonParamContinuous, 0.55, 0.98, 0.82, 0.01, ""},
    {"release_ms", "Release", kAddonParamContinuous, 5.0, 120.0, 30.0, 0.5, "ms"},
}};

constexpr double kFastAttackMs = 0.15;
constexpr double kFastReleaseMs = 6.0;
constexpr double kSlowAttackMs = 10.0;
constexpr double kSlowReleaseMs = 70.0;
// A peak counts as an overshoot only above this multiple of the slow level.
constexpr double kOverSlowLevel = 1.12;
constexpr double kDepthPerOvershoot = 10.0;

} // namespace

TransientCatcher::TransientCatcher() : AddonBase(kIdentity, kTable)
{
}

// Only what the fast follower carries over both the threshold and the slow
// level is caught: the gain drops to its target at once and recovers with the
// release time. The amount sets both how deep the target goes and how much of
// the reduction is applied; there is no mix. The rate comes from the context.
void TransientCatcher::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double amount = ClampToRange(Value(Amount), 0.0, 1.0);
    if (amount <= 0.0 || !IsWholeStereoBuffer(buffer) || context.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double fs = context.sampleRate;
    const double fastAttack = TimeCoefficient(kFastAttackMs, fs);
    const double fastRelease = TimeCoefficient(kFastReleaseMs, fs);
    const double slowAttack = TimeCoefficient(kSlowAttackMs, fs);
    const double slowRelease = TimeCoefficient(kSlowReleaseMs, fs);
    const double recovery = TimeCoefficient(std::max(Value(ReleaseMs), 0.05), fs);
    const double threshold = Value(Threshold);

    // Worked on in locals, which the writes to the samples cannot alias, and
    // kept in the members when the pass ends.
    double fast = fastEnvelope;
    double slow = slowEnvelope;
    double running = gain;
    std::vector<double>& x = buffer.samples;
    for (size_t i = 0; i + 1 < x.size(); i += 2)
    {
        const double peak = StereoPeakLevel(x[i], x[i + 1]);
        FollowLevel(fast, peak, fastAttack, fastRelease);
        FollowLevel(slow, peak, slowAttack, slowRelease);
        // Written so that a follower holding something other than a number
        // reads as no overshoot, instead of turning every later gain into NaN.
        const double overshoot = std::max(0.0, fast - std::max(kOverSlowLevel * slow, threshold));
        const double target = 1.0 / (1.0 + kDepthPerOvershoot * amount * overshoot);
        running = running > target ? target : (1.0 - recovery) * target + recovery * running;
        const double scale = 1.0 - (1.0 - running) * amount;
        x[i] *= scale;
        x[i + 1] *= scale;
    }
    fastEnvelope = fast;
    slowEnvelope = slow;
    gain = running;
}
