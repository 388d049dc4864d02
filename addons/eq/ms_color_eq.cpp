#include "addons/eq/ms_color_eq.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/mid_side.h"
#include "engine/decibels.h"
#include "engine/dsp/one_pole_low_pass.h"

#include <array>

namespace
{

enum Param
{
    Amount,
    PivotHz
};

constexpr AddonIdentity kIdentity{
    "ms_color_eq", "MS Color EQ", "Shapes tone differently in the mid and side image.",
    "Best for refining width tone after the main match is complete.", ChainPostMatchTone};

constexpr std::array<AddonParamDef, 2> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
    {"pivot_hz", "Pivot", kAddonParamContinuous, 600.0, 4000.0, 1800.0, 10.0, "Hz"},
}};

} // namespace

MSColorEQ::MSColorEQ() : AddonBase(kIdentity, kTable)
{
}

// Opposite tilts around one pivot: the mid up to 3 dB brighter, the side up
// to 2 dB darker, which brings the centre forward and softens the edges.
void MSColorEQ::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer) || context.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double fs = context.sampleRate;
    const double k = OnePoleCoefficient(ClampToRange(Value(PivotHz), 600.0, 4000.0), fs);
    const double midHigh = DbToGain(1.5 * a);
    const double midLow = DbToGain(-1.5 * a);
    const double sideHigh = DbToGain(-a);
    const double sideLow = DbToGain(a);
    for (size_t i = 0; i < buffer.samples.size(); i += 2)
    {
        const double mid = MidOf(buffer.samples[i], buffer.samples[i + 1]);
        const double side = SideOf(buffer.samples[i], buffer.samples[i + 1]);
        const double yMid = OnePoleLowPassStep(m_midLowState, mid, k);
        const double ySide = OnePoleLowPassStep(m_sideLowState, side, k);
        const double newMid = (mid - yMid) * midHigh + yMid * midLow;
        const double newSide = (side - ySide) * sideHigh + ySide * sideLow;
        buffer.samples[i] = newMid + newSide;
        buffer.samples[i + 1] = newMid - newSide;
    }
}
