#include "addons/cleanup/sub_rumble_filter.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"

namespace
{

enum Param
{
    Amount,
    CutoffHz
};

constexpr AddonIdentity kIdentity{
    "sub_rumble_filter", "Sub Rumble Filter", "Removes subsonic rumble before the matching stages.",
    "Use on recordings with excess very-low-frequency energy or handling noise.", ChainPreMatch};

constexpr std::array<AddonParamDef, 2> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
    {"cutoff_hz", "Cutoff", kAddonParamContinuous, 10.0, 60.0, 25.0, 1.0, "Hz"},
}};

// Q = 1: a second-order high-pass 3 dB down at the corner, falling 12 dB per
// octave below it.
constexpr double kDamping = 1.0;

} // namespace

SubRumbleFilter::SubRumbleFilter() : AddonBase(kIdentity, kTable)
{
}

void SubRumbleFilter::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer) || context.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const StateVariableCoefficients c =
        StateVariableCoefficientsFor(Value(CutoffHz), kDamping, context.sampleRate);
    for (size_t i = 0; i < buffer.samples.size(); i += 2)
    {
        for (size_t channel = 0; channel < 2; ++channel)
        {
            double& x = buffer.samples[i + channel];
            const double high = StateVariableStep(m_states[channel], x, c).high;
            x = high * a + x * (1.0 - a);
        }
    }
}
