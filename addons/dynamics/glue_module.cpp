#include "addons/dynamics/glue_module.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/knee_laws.h"
#include "addons/kit/level_follower.h"
#include "addons/kit/stereo_level.h"
#include "addons/kit/time_coefficient.h"
#include "addons/kit/wet_dry_mix.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace
{

enum Param
{
    Amount,
    AttackMs,
    ReleaseMs,
    Warmth,
    Mix
};

constexpr AddonIdentity kIdentity{"glue_module", "Glue Module",
                                  "Applies cohesive bus-style compression and warmth.",
                                  "Use when the result needs a slightly more unified, finished "
                                  "feel.",
                                  ChainPostMatchDynamics};

constexpr std::array<AddonParamDef, 5> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
    {"attack_ms", "Attack", kAddonParamContinuous, 5.0, 80.0, 30.0, 1.0, "ms"},
    {"release_ms", "Release", kAddonParamContinuous, 80.0, 400.0, 220.0, 1.0, "ms"},
    {"warmth", "Warmth", kAddonParamContinuous, 0.0, 1.0, 0.35, 0.01, ""},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

} // namespace

GlueModule::GlueModule() : AddonBase(kIdentity, kTable)
{
}

// One amount sets threshold, ratio, make-up and wet share together. The
// follower runs on the power of the frame, so the level it reads is an energy
// average; the wet path is driven into tanh, divided back by the drive so that
// small signals keep their level.
void GlueModule::process(AudioBuffer& buffer, const ProcessContext&)
{
    const double amount = ClampToRange(Value(Amount), 0.0, 1.0);
    if (amount <= 0.0 || !IsWholeStereoBuffer(buffer) || buffer.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double threshold = -12.0 - 8.0 * amount;
    const double ratio = 1.25 + 1.5 * amount;
    const double makeup = DbToGain(0.4 + 1.8 * amount);
    const double wet = ClampToRange((0.45 + 0.55 * amount) * Value(Mix), 0.0, 1.0);
    const double drive = 1.0 + 2.5 * (0.4 + 0.6 * amount) * ClampToRange(Value(Warmth), 0.0, 1.0);
    const double fs = buffer.sampleRate;
    const double attack = TimeCoefficient(std::max(Value(AttackMs), 5.0), fs);
    const double release = TimeCoefficient(std::max(Value(ReleaseMs), 40.0), fs);

    double power = 0.0;
    std::vector<double>& x = buffer.samples;
    for (size_t i = 0; i + 1 < x.size(); i += 2)
    {
        FollowLevel(power, StereoPower(x[i], x[i + 1]), attack, release);
        const double levelDb = DecibelLevel(std::sqrt(std::max(power, kFollowerFloor)));
        const double gainDb = HardKneeGainDb(levelDb - threshold, ratio);
        const double gain = MadeUpGain(gainDb, makeup);
        x[i] = MixWetDry(std::tanh(gain * x[i] * drive) / drive, x[i], wet);
        x[i + 1] = MixWetDry(std::tanh(gain * x[i + 1] * drive) / drive, x[i + 1], wet);
    }
}
