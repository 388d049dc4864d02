#include "addons/stereo/mono_maker.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/low_side_narrowing.h"
#include "engine/dsp/one_pole_low_pass.h"

#include <array>

namespace
{

enum Param
{
    Amount,
    CrossoverHz
};

constexpr AddonIdentity kIdentity{
    "mono_maker", "Mono Maker", "Narrows the low end toward mono for a tighter stereo base.",
    "Use when bass width causes instability or weak mono compatibility.", ChainStereoImage};

constexpr std::array<AddonParamDef, 2> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
    {"crossover_hz", "Crossover", kAddonParamContinuous, 50.0, 300.0, 120.0, 1.0, "Hz"},
}};

} // namespace

MonoMaker::MonoMaker() : AddonBase(kIdentity, kTable)
{
}

void MonoMaker::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    const double fs = context.sampleRate;
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer) || fs <= 0.0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double k = OnePoleCoefficient(ClampToRange(Value(CrossoverHz), 20.0, 0.45 * fs), fs);
    NarrowLowSide(buffer.samples, m_sideLow, k, a);
}
