#include "addons/saturation/exciter.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/wet_dry_mix.h"
#include "engine/decibels.h"
#include "engine/dsp/one_pole_low_pass.h"

#include <array>
#include <cmath>

namespace
{

enum Param
{
    Amount,
    DriveDb,
    FocusHz,
    Mix
};

constexpr AddonIdentity kIdentity{
    "exciter", "Exciter", "Generates harmonic brightness in the upper bands.",
    "Use carefully on dull sources that need sparkle without EQ.", ChainPostMatchTone};

constexpr std::array<AddonParamDef, 4> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.4, 0.01, ""},
    {"drive_db", "Drive", kAddonParamContinuous, 0.0, 12.0, 5.0, 0.1, "dB"},
    {"focus_hz", "Focus", kAddonParamContinuous, 1500.0, 12000.0, 4500.0, 10.0, "Hz"},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

} // namespace

Exciter::Exciter() : AddonBase(kIdentity, kTable)
{
}

// The dry signal stays whole in the wet path; only the high band x - y is
// driven into tanh and added, so the lows gain no harmonics.
void Exciter::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer) || context.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double fs = context.sampleRate;
    const double k = OnePoleCoefficient(ClampToRange(Value(FocusHz), 1500.0, 12000.0), fs);
    const double drive = DbToGain((0.6 * a + 0.4) * Value(DriveDb));
    const double harmonicShare = 0.65 * a;
    const double wet = ClampToRange((0.65 * a + 0.35) * Value(Mix), 0.0, 1.0);
    for (size_t i = 0; i < buffer.samples.size(); i += 2)
    {
        for (size_t channel = 0; channel < 2; ++channel)
        {
            double& x = buffer.samples[i + channel];
            const double low = OnePoleLowPassStep(m_lowState[channel], x, k);
            const double excited = x + harmonicShare * std::tanh(drive * (x - low));
            x = MixWetDry(excited, x, wet);
        }
    }
}
