#include "addons/eq/presence_lift.h"

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
    "presence_lift", "Presence Lift", "Adds broad presence in the upper mids for intelligibility.",
    "Best when vocals, snare, or lead elements need more forward focus.", ChainPostMatchTone};

constexpr std::array<AddonParamDef, 2> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
    {"target_hz", "Frequency", kAddonParamContinuous, 2000.0, 5000.0, 3200.0, 10.0, "Hz"},
}};

constexpr double kDamping = 0.9;
constexpr double kMaxLiftDb = 3.5;

} // namespace

PresenceLift::PresenceLift() : AddonBase(kIdentity, kTable)
{
}

void PresenceLift::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer) || context.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const StateVariableCoefficients c = StateVariableCoefficientsFor(
        ClampToRange(Value(TargetHz), 2000.0, 5000.0), kDamping, context.sampleRate);
    StereoBellInPlace(buffer.samples, m_bellStates, c, DbToGain(kMaxLiftDb * a));
}
