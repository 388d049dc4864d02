#include "addons/saturation/transformer_saturation.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/wet_dry_mix.h"
#include "engine/decibels.h"

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

constexpr AddonIdentity kIdentity{"transformer_saturation", "Transformer Saturation",
                                  "Adds transformer-style harmonic density and edge.",
                                  "Useful when the result needs more weight and analog color.",
                                  ChainPostMatchTone};

constexpr std::array<AddonParamDef, 4> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.4, 0.01, ""},
    {"drive_db", "Drive", kAddonParamContinuous, 0.0, 10.0, 3.5, 0.1, "dB"},
    {"bias", "Bias", kAddonParamContinuous, 0.0, 1.0, 0.2, 0.01, ""},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

} // namespace

TransformerSaturation::TransformerSaturation() : AddonBase(kIdentity, kTable)
{
}

// The curve is not divided by the drive: the wet signal's small-signal gain
// is the drive itself, which is part of this stage's weight.
void TransformerSaturation::process(AudioBuffer& buffer, const ProcessContext&)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer))
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double share = 0.65 * a + 0.35;
    const double drive = DbToGain(share * Value(DriveDb));
    const double bias = 0.25 * ClampToRange(Value(Bias), 0.0, 1.0);
    const double wet = ClampToRange(share * Value(Mix), 0.0, 1.0);
    const double offset = std::tanh(bias * drive);
    std::vector<double>& samples = buffer.samples;
    for (size_t i = 0; i < samples.size(); i += 2)
    {
        const double left = std::tanh((samples[i] + bias) * drive) - offset;
        const double right = std::tanh((samples[i + 1] - bias) * drive) + offset;
        samples[i] = MixWetDry(left, samples[i], wet);
        samples[i + 1] = MixWetDry(right, samples[i + 1], wet);
    }
}
