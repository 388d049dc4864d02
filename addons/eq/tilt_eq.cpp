#include "addons/eq/tilt_eq.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "engine/decibels.h"
#include "engine/dsp/one_pole_low_pass.h"

#include <array>
#include <cmath>

namespace
{

enum Param
{
    Amount,
    Tilt,
    PivotHz,
    MaxGainDb
};

constexpr AddonIdentity kIdentity{
    "tilt_eq", "Tilt EQ", "Tilts the whole tonal balance brighter or darker.",
    "Use for simple broad tone steering after the main match.", ChainPostMatchTone};

constexpr std::array<AddonParamDef, 4> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
    {"tilt", "Tilt", kAddonParamContinuous, -1.0, 1.0, 0.0, 0.01, ""},
    {"pivot_hz", "Pivot", kAddonParamContinuous, 300.0, 3000.0, 1000.0, 10.0, "Hz"},
    {"max_gain_db", "Range", kAddonParamContinuous, 1.0, 8.0, 4.0, 0.1, "dB"},
}};

} // namespace

TiltEq::TiltEq() : AddonBase(kIdentity, kTable)
{
}

// The lows and the highs either side of the pivot move by half the tilt each,
// in opposite directions, so the pivot keeps its level.
void TiltEq::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer))
    {
        return;
    }
    const double t = ClampToRange(Value(Tilt), -1.0, 1.0);
    if (std::fabs(t) < 1e-9 || context.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double fs = context.sampleRate;
    const double k = OnePoleCoefficient(ClampToRange(Value(PivotHz), 300.0, 3000.0), fs);
    const double tiltDb = t * Value(MaxGainDb) * a;
    const double lowGain = DbToGain(-0.5 * tiltDb);
    const double highGain = DbToGain(0.5 * tiltDb);
    std::array<double, 2> lowState{};
    for (size_t i = 0; i < buffer.samples.size(); i += 2)
    {
        for (size_t channel = 0; channel < 2; ++channel)
        {
            double& x = buffer.samples[i + channel];
            const double low = OnePoleLowPassStep(lowState[channel], x, k);
            x = highGain * (x - low) + lowGain * low;
        }
    }
}
