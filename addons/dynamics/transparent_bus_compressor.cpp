#include "addons/dynamics/transparent_bus_compressor.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/gain_mix.h"
#include "addons/kit/level_follower.h"
#include "addons/kit/stereo_level.h"
#include "addons/kit/time_coefficient.h"

#include <array>

namespace
{

enum Param
{
    Amount,
    Mix
};

constexpr AddonIdentity kIdentity{"transparent_bus_compressor", "Bus Compressor",
                                  "Adds subtle bus compression with minimal tone shift.",
                                  "Best for gentle control and glue without obvious coloration.",
                                  ChainPostMatchDynamics};

constexpr std::array<AddonParamDef, 2> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.45, 0.01, ""},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

constexpr double kThresholdDb = -14.0;
constexpr double kAttackMs = 25.0;
constexpr double kReleaseMs = 180.0;

} // namespace

TransparentBusCompressor::TransparentBusCompressor() : AddonBase(kIdentity, kTable)
{
}

// A hard knee at -14 dB whose slope the amount scales twice, through the ratio
// and again as a factor, so small amounts stay very gentle. Material whose
// followed level never passes the threshold keeps a gain of 1. Whole frames
// are processed; a trailing odd value belongs to none and is kept.
void TransparentBusCompressor::process(AudioBuffer& buffer, const ProcessContext&)
{
    const double amount = ClampToRange(Value(Amount), 0.0, 1.0);
    if (amount <= 0.0 || buffer.samples.size() < 2 || buffer.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double fs = buffer.sampleRate;
    const double attack = TimeCoefficient(kAttackMs, fs);
    const double release = TimeCoefficient(kReleaseMs, fs);
    const double ratio = amount + 1.5;
    const double slope = 1.0 - 1.0 / ratio;
    const double mix = ClampToRange(Value(Mix), 0.0, 1.0);

    double envelope = 0.0;
    std::vector<double>& x = buffer.samples;
    for (size_t i = 0; i + 1 < x.size(); i += 2)
    {
        FollowLevel(envelope, StereoRmsLevel(x[i], x[i + 1]), attack, release);
        const double overDb = DecibelLevel(envelope) - kThresholdDb;
        const double gain = overDb > 0.0 ? DbToGain(-slope * overDb * amount) : 1.0;
        GainMixFrame(x[i], x[i + 1], gain, mix);
    }
}
