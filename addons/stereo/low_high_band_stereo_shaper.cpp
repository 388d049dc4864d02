#include "addons/stereo/low_high_band_stereo_shaper.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/side_rewrite.h"
#include "engine/dsp/one_pole_low_pass.h"

#include <array>

namespace
{

enum Param
{
    LowWidth,
    HighWidth,
    CrossoverHz,
    Mix
};

constexpr AddonIdentity kIdentity{
    "low_high_band_stereo_shaper", "Low/High Stereo Shaper",
    "Shapes stereo width separately in the low and high bands around a single crossover.",
    "Use when the low end needs tighter focus while the upper image still needs width and "
    "openness.",
    ChainStereoImage};

constexpr std::array<AddonParamDef, 4> kTable{{
    {"low_width", "Low Width", kAddonParamContinuous, 0.0, 1.5, 0.85, 0.01, "x"},
    {"high_width", "High Width", kAddonParamContinuous, 0.0, 1.8, 1.2, 0.01, "x"},
    {"crossover_hz", "Crossover", kAddonParamContinuous, 250.0, 5000.0, 1800.0, 10.0, "Hz"},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

} // namespace

LowHighBandStereoShaper::LowHighBandStereoShaper() : AddonBase(kIdentity, kTable)
{
}

void LowHighBandStereoShaper::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double fs = context.sampleRate;
    if (!IsWholeStereoBuffer(buffer) || fs <= 0.0)
    {
        return;
    }
    const double m = ClampToRange(Value(Mix), 0.0, 1.0);
    if (m <= 0.0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double lowWidth = ClampToRange(Value(LowWidth), 0.0, 1.5);
    const double highWidth = ClampToRange(Value(HighWidth), 0.0, 1.8);
    const double crossover = ClampToRange(Value(CrossoverHz), 250.0, 5000.0);
    const double k = OnePoleCoefficient(ClampToRange(crossover, 80.0, 0.46 * fs), fs);
    double lowState = 0.0;
    RewriteSide(buffer.samples, m,
                [&](double, double side)
                {
                    const double lowSide = OnePoleLowPassStep(lowState, side, k);
                    return (side - lowSide) * highWidth + lowSide * lowWidth;
                });
}
