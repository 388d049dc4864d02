#include "addons/dynamics/ms_dynamics_processor.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/knee_laws.h"
#include "addons/kit/level_follower.h"
#include "addons/kit/mid_side.h"
#include "addons/kit/time_coefficient.h"
#include "addons/kit/wet_dry_mix.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace
{

enum Param
{
    ThresholdDb,
    MidAmount,
    SideAmount,
    AttackMs,
    ReleaseMs,
    Mix
};

constexpr AddonIdentity kIdentity{
    "ms_dynamics_processor", "MS Dynamics Processor",
    "Compresses mid and side energy separately so the center and width can be controlled "
    "independently.",
    "Use when the center needs more grip than the sides, or when side bloom needs control "
    "without flattening the vocal/body.",
    ChainPostMatchDynamics};

constexpr std::array<AddonParamDef, 6> kTable{{
    {"threshold_db", "Threshold", kAddonParamContinuous, -36.0, 0.0, -20.0, 0.1, "dB"},
    {"mid_amount", "Mid Amount", kAddonParamContinuous, 0.0, 1.0, 0.55, 0.01, ""},
    {"side_amount", "Side Amount", kAddonParamContinuous, 0.0, 1.0, 0.35, 0.01, ""},
    {"attack_ms", "Attack", kAddonParamContinuous, 1.0, 100.0, 15.0, 1.0, "ms"},
    {"release_ms", "Release", kAddonParamContinuous, 20.0, 500.0, 140.0, 1.0, "ms"},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

// The gain falls 0.7 dB per dB over the threshold at amount 1: a hard knee of
// 3.33:1.
constexpr double kSlopeAtFullAmount = 0.7;

// The gain of one of the two signals, from its follower.
double SignalGain(double follower, double thresholdDb, double slope)
{
    const double overDb = DecibelLevel(follower) - thresholdDb;
    const double noMakeup = 1.0;
    return MadeUpGain(overDb > 0.0 ? -slope * overDb : 0.0, noMakeup);
}

} // namespace

MsDynamicsProcessor::MsDynamicsProcessor() : AddonBase(kIdentity, kTable)
{
}

// The centre and the width get separate followers and gains: a mono signal
// has no side, so only the mid gain acts on it, equally in both channels.
void MsDynamicsProcessor::process(AudioBuffer& buffer, const ProcessContext&)
{
    if (!IsWholeStereoBuffer(buffer) || buffer.sampleRate <= 0)
    {
        return;
    }
    const double mix = ClampToRange(Value(Mix), 0.0, 1.0);
    const double midAmount = ClampToRange(Value(MidAmount), 0.0, 1.0);
    const double sideAmount = ClampToRange(Value(SideAmount), 0.0, 1.0);
    if ((midAmount <= 0.0 && sideAmount <= 0.0) || mix <= 0.0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double threshold = ClampToRange(Value(ThresholdDb), -36.0, 0.0);
    const double midSlope = kSlopeAtFullAmount * midAmount;
    const double sideSlope = kSlopeAtFullAmount * sideAmount;
    const double fs = buffer.sampleRate;
    const double attack = TimeCoefficient(std::max(Value(AttackMs), 1.0), fs);
    const double release = TimeCoefficient(std::max(Value(ReleaseMs), 20.0), fs);

    double midFollower = 0.0;
    double sideFollower = 0.0;
    std::vector<double>& x = buffer.samples;
    for (size_t i = 0; i + 1 < x.size(); i += 2)
    {
        const double mid = MidOf(x[i], x[i + 1]);
        const double side = SideOf(x[i], x[i + 1]);
        FollowLevel(midFollower, std::fabs(mid), attack, release);
        FollowLevel(sideFollower, std::fabs(side), attack, release);
        const double midOut = SignalGain(midFollower, threshold, midSlope) * mid;
        const double sideOut = SignalGain(sideFollower, threshold, sideSlope) * side;
        x[i] = MixWetDry(midOut + sideOut, x[i], mix);
        x[i + 1] = MixWetDry(midOut - sideOut, x[i + 1], mix);
    }
}
