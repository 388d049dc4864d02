#include "addons/eq/low_mid_cleanup.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/state_variable_bell.h"
#include "engine/decibels.h"

namespace
{

enum Param
{
    Amount,
    TargetHz
};

constexpr AddonIdentity kIdentity{
    "low_mid_cleanup", "Low Mid Cleanup", "Gently clears mud in the low-mid range.",
    "Use when the master feels boxy, cloudy, or overfilled around 200 to 400 Hz.",
    ChainPostMatchTone};

constexpr std::array<AddonParamDef, 2> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.6, 0.01, ""},
    {"target_hz", "Frequency", kAddonParamContinuous, 180.0, 450.0, 280.0, 1.0, "Hz"},
}};

constexpr double kDamping = 0.7;
constexpr double kMaxCutDb = -3.0;

} // namespace

LowMidCleanup::LowMidCleanup() : AddonBase(kIdentity, kTable)
{
}

void LowMidCleanup::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer) || context.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const StateVariableCoefficients c = StateVariableCoefficientsFor(
        ClampToRange(Value(TargetHz), 180.0, 450.0), kDamping, context.sampleRate);
    StereoBellInPlace(buffer.samples, m_bellStates, c, DbToGain(kMaxCutDb * a));
}
