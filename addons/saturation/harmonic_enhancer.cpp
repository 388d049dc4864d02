#include "addons/saturation/harmonic_enhancer.h"

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
    Color,
    Mix
};

constexpr AddonIdentity kIdentity{"harmonic_enhancer", "Harmonic Enhancer",
                                  "Adds harmonic richness and color across the spectrum.",
                                  "Best when the match is clean but feels too plain or flat.",
                                  ChainPostMatchTone};

constexpr std::array<AddonParamDef, 4> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.4, 0.01, ""},
    {"drive_db", "Drive", kAddonParamContinuous, 0.0, 12.0, 4.0, 0.1, "dB"},
    {"color", "Color", kAddonParamContinuous, -1.0, 1.0, 0.0, 0.01, ""},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

} // namespace

HarmonicEnhancer::HarmonicEnhancer() : AddonBase(kIdentity, kTable)
{
}

// Dividing by the drive keeps the small-signal gain at 1 at colour 0;
// subtracting the curve's value at the bias keeps silence at 0.
void HarmonicEnhancer::process(AudioBuffer& buffer, const ProcessContext&)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer))
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double drive = DbToGain((0.65 * a + 0.35) * Value(DriveDb));
    const double bias = 0.18 * ClampToRange(Value(Color), -1.0, 1.0);
    const double wet = ClampToRange((0.7 * a + 0.3) * Value(Mix), 0.0, 1.0);
    const double offset = std::tanh(bias * drive);
    for (double& x : buffer.samples)
    {
        const double shaped = (std::tanh((x + bias) * drive) - offset) / drive;
        x = MixWetDry(shaped, x, wet);
    }
}
