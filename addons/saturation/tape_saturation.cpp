#include "addons/saturation/tape_saturation.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/wet_dry_mix.h"
#include "engine/decibels.h"
#include "engine/dsp/one_pole_low_pass.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace
{

enum Param
{
    Amount,
    DriveDb,
    Tone,
    Mix
};

constexpr AddonIdentity kIdentity{
    "tape_saturation", "Tape Saturation", "Adds soft tape-style saturation and gentle smoothing.",
    "Best for slightly sterile material that wants glue and warmth.", ChainPostMatchTone};

constexpr std::array<AddonParamDef, 4> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.4, 0.01, ""},
    {"drive_db", "Drive", kAddonParamContinuous, 0.0, 12.0, 3.0, 0.1, "dB"},
    {"tone", "Tone", kAddonParamContinuous, -1.0, 1.0, 0.0, 0.01, ""},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

// The tone's corner: 7 kHz at -1, 12 kHz in the middle, 18 kHz at +1.
double ToneCornerHz(double tone)
{
    const double t = ClampToRange(tone, -1.0, 1.0);
    return t >= 0.0 ? 12000.0 + 6000.0 * t : 12000.0 + 5000.0 * t;
}

// The tone low-pass's pole, its corner held between 200 Hz and 0.475 fs (95 %
// of the Nyquist frequency), for a rate above 0.
double ToneLowPassCoefficient(double cornerHz, int sampleRate)
{
    const double fs = sampleRate;
    return OnePoleCoefficient(ClampToRange(cornerHz, 200.0, 0.475 * fs), fs);
}

} // namespace

std::vector<double> OnePoleLowpassVector(const std::vector<double>& values, double cornerHz,
                                         int sampleRate)
{
    if (sampleRate <= 0)
    {
        return std::vector<double>(values.size(), 0.0);
    }
    return OnePoleLowPass(values, ToneLowPassCoefficient(cornerHz, sampleRate));
}

TapeSaturation::TapeSaturation() : AddonBase(kIdentity, kTable)
{
}

// Each channel is driven into tanh, low-passed from rest as OnePoleLowpassVector
// does over the whole channel, and mixed with the dry value, in one pass: the
// same values as separate lists without their memory. At a rate of 0 or less
// the low-pass would return silence and the track would become its dry share
// alone; the buffer is left untouched instead.
void TapeSaturation::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer) || context.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double drive = DbToGain((0.6 * a + 0.4) * Value(DriveDb));
    const double wet = ClampToRange((0.65 * a + 0.35) * Value(Mix), 0.0, 1.0);
    const double k = ToneLowPassCoefficient(ToneCornerHz(Value(Tone)), context.sampleRate);
    // Full scale driven by G comes back at full scale before the low-pass.
    const double normaliser = 1.0 / std::max(std::tanh(drive), 1e-6);
    std::array<double, 2> lowState{};
    for (size_t i = 0; i < buffer.samples.size(); i += 2)
    {
        for (size_t channel = 0; channel < 2; ++channel)
        {
            double& x = buffer.samples[i + channel];
            const double low = OnePoleLowPassStep(lowState[channel], std::tanh(drive * x), k);
            x = MixWetDry(normaliser * low, x, wet);
        }
    }
}
