#include "addons/saturation/tube_saturation.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/peak_rescale.h"
#include "addons/kit/wet_dry_mix.h"
#include "engine/decibels.h"
#include "engine/stages/limiter_input.h"

#include <array>
#include <cmath>

namespace
{

enum Param
{
    Amount,
    DriveDb,
    Bias,
    Mix
};

constexpr AddonIdentity kIdentity{
    "tube_saturation", "Tube Saturation",
    "Adds restrained tube-style harmonic density with gentle asymmetric saturation.",
    "Use when the match needs warmth and body without the harder edge of transformer-style "
    "color.",
    ChainPostMatchTone};

constexpr std::array<AddonParamDef, 4> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.45, 0.01, ""},
    {"drive_db", "Drive", kAddonParamContinuous, 0.0, 12.0, 4.0, 0.1, "dB"},
    {"bias", "Bias", kAddonParamContinuous, 0.0, 1.0, 0.18, 0.01, ""},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

} // namespace

double TubeShape(double x, double drive, double bias)
{
    const double u = x * drive + bias;
    const double cubic = ClampToRange(u - u * u * u / 3.0, -1.5, 1.5);
    return 0.28 * cubic / 1.5 + 0.72 * (std::tanh(u) - std::tanh(bias));
}

TubeSaturation::TubeSaturation() : AddonBase(kIdentity, kTable)
{
}

// Only the peak of a buffer that has one (above 0) can be restored: silence
// with a bias comes out as the cubic's constant offset.
void TubeSaturation::process(AudioBuffer& buffer, const ProcessContext&)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer))
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double drive = DbToGain((0.65 * a + 0.35) * Value(DriveDb));
    const double bias = (0.16 * a + 0.06) * ClampToRange(Value(Bias), 0.0, 1.0);
    const double wet = ClampToRange(Value(Mix), 0.0, 1.0);
    std::vector<double>& samples = buffer.samples;
    const double inPeak = LargestMagnitude(samples);
    for (size_t i = 0; i < samples.size(); i += 2)
    {
        samples[i] = MixWetDry(TubeShape(samples[i], drive, bias), samples[i], wet);
        samples[i + 1] = MixWetDry(TubeShape(samples[i + 1], drive, -bias), samples[i + 1], wet);
    }
    RescaleToInputPeak(samples, inPeak, 0.0);
}
