#include "addons/eq/low_end_punch.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/state_variable_bell.h"
#include "addons/kit/wet_dry_mix.h"

#include <algorithm>
#include <cmath>

namespace
{

enum Param
{
    Amount,
    BoostHz
};

constexpr AddonIdentity kIdentity{
    "low_end_punch", "Low End Punch", "Adds focused low-frequency impact after matching.",
    "Use when kick and bass need more punch without broad boom.", ChainPostMatchTone};

constexpr std::array<AddonParamDef, 2> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
    {"boost_hz", "Frequency", kAddonParamContinuous, 30.0, 100.0, 60.0, 1.0, "Hz"},
}};

// A narrow +9 dB bell on the kick, and a wider -6 dB one 140 Hz above it so
// the lift stays punch and does not spread into boom.
constexpr double kBoostDamping = 0.5;
constexpr double kCutDamping = 0.9;
constexpr double kCutOffsetHz = 140.0;
constexpr double kCutHighestHz = 300.0;

} // namespace

LowEndPunch::LowEndPunch() : AddonBase(kIdentity, kTable)
{
}

// The bells are fixed; the amount is only the share of the filtered signal.
void LowEndPunch::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer) || context.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double fs = context.sampleRate;
    const double boostHz = Value(BoostHz);
    const StateVariableCoefficients boost =
        StateVariableCoefficientsFor(boostHz, kBoostDamping, fs);
    const StateVariableCoefficients cut = StateVariableCoefficientsFor(
        std::min(kCutHighestHz, boostHz + kCutOffsetHz), kCutDamping, fs);
    const double boostGain = std::pow(10.0, 0.45);
    const double cutGain = std::pow(10.0, -0.3);
    for (size_t i = 0; i < buffer.samples.size(); i += 2)
    {
        for (size_t channel = 0; channel < 2; ++channel)
        {
            double& x = buffer.samples[i + channel];
            const double boosted =
                StateVariableBellStep(m_boostStates[channel], x, boost, boostGain);
            const double shaped =
                StateVariableBellStep(m_cutStates[channel], boosted, cut, cutGain);
            x = MixWetDry(shaped, x, a);
        }
    }
}
