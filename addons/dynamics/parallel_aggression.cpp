#include "addons/dynamics/parallel_aggression.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/knee_laws.h"
#include "addons/kit/level_follower.h"
#include "addons/kit/stereo_level.h"
#include "addons/kit/time_coefficient.h"

#include <array>
#include <cmath>

namespace
{

enum Param
{
    Amount,
    Drive
};

constexpr AddonIdentity kIdentity{"parallel_aggression", "Parallel Aggression",
                                  "Blends in a more aggressive parallel edge and density layer.",
                                  "Use when the master needs attitude and forward energy.",
                                  ChainPostMatchDynamics};

constexpr std::array<AddonParamDef, 2> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.35, 0.01, ""},
    {"drive", "Drive", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
}};

// The parallel layer: a fast peak compressor, 10:1 from -24 dB with 18 dB of
// make-up, into tanh.
constexpr double kAttackMs = 2.0;
constexpr double kReleaseMs = 30.0;
constexpr double kThresholdDb = -24.0;
constexpr double kRatio = 10.0;
constexpr double kMakeupDb = 18.0;

} // namespace

ParallelAggression::ParallelAggression() : AddonBase(kIdentity, kTable)
{
}

// The dry signal is never attenuated: the squashed, saturated layer is added
// on top of it, at most a quarter of it at full amount.
void ParallelAggression::process(AudioBuffer& buffer, const ProcessContext&)
{
    const double amount = ClampToRange(Value(Amount), 0.0, 1.0);
    if (amount <= 0.0 || !IsWholeStereoBuffer(buffer) || buffer.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double fs = buffer.sampleRate;
    const double attack = TimeCoefficient(kAttackMs, fs);
    const double release = TimeCoefficient(kReleaseMs, fs);
    const double share = 0.25 * amount;
    const double drive = 1.0 + 5.0 * Value(Drive);
    const double makeup = DbToGain(kMakeupDb);

    // Followed in a local, which the writes to the samples cannot alias, and
    // kept in the member when the pass ends.
    double followed = envelope;
    std::vector<double>& x = buffer.samples;
    for (size_t i = 0; i + 1 < x.size(); i += 2)
    {
        FollowLevel(followed, StereoPeakLevel(x[i], x[i + 1]), attack, release);
        const double gainDb = HardKneeGainDb(DecibelLevel(followed) - kThresholdDb, kRatio);
        const double gain = MadeUpGain(gainDb, makeup);
        x[i] += share * std::tanh(gain * x[i] * drive) / drive;
        x[i + 1] += share * std::tanh(gain * x[i + 1] * drive) / drive;
    }
    envelope = followed;
}
