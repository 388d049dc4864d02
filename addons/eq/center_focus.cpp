#include "addons/eq/center_focus.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/mid_side.h"
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
    "center_focus", "Center Focus", "Brings the center presence region forward after matching.",
    "Useful when vocals or snare feel recessed after tonal match.", ChainPostMatchTone};

constexpr std::array<AddonParamDef, 2> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
    {"target_hz", "Frequency", kAddonParamContinuous, 1000.0, 5000.0, 2500.0, 10.0, "Hz"},
}};

constexpr double kDamping = 1.0;
constexpr double kMaxMidLiftDb = 4.0;
constexpr double kMaxSideCutDb = -1.5;

} // namespace

CenterFocus::CenterFocus() : AddonBase(kIdentity, kTable)
{
}

// The same band is lifted in the mid and lowered a little in the side, so
// what sits in the centre comes forward.
void CenterFocus::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer) || context.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const StateVariableCoefficients c =
        StateVariableCoefficientsFor(Value(TargetHz), kDamping, context.sampleRate);
    const double midGain = DbToGain(kMaxMidLiftDb * a);
    const double sideGain = DbToGain(kMaxSideCutDb * a);
    for (size_t i = 0; i < buffer.samples.size(); i += 2)
    {
        const double mid = MidOf(buffer.samples[i], buffer.samples[i + 1]);
        const double side = SideOf(buffer.samples[i], buffer.samples[i + 1]);
        const double newMid = StateVariableBellStep(m_midState, mid, c, midGain);
        const double newSide = StateVariableBellStep(m_sideState, side, c, sideGain);
        buffer.samples[i] = newMid + newSide;
        buffer.samples[i + 1] = newMid - newSide;
    }
}
