#include "addons/eq/air_shelf.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "engine/decibels.h"
#include "engine/dsp/one_pole_low_pass.h"

#include <algorithm>

namespace
{

enum Param
{
    Amount,
    GainDb,
    FrequencyHz
};

constexpr AddonIdentity kIdentity{
    "air_shelf", "Air Shelf", "Adds a gentle high-end shelf for openness and polish.",
    "Best on slightly dark masters that need air without sharpness.", ChainPostMatchTone};

constexpr std::array<AddonParamDef, 3> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
    {"gain_db", "Max Gain", kAddonParamContinuous, 0.0, 8.0, 3.0, 0.1, "dB"},
    {"frequency_hz", "Frequency", kAddonParamContinuous, 8000.0, 18000.0, 12000.0, 100.0, "Hz"},
}};

} // namespace

AirShelf::AirShelf() : AddonBase(kIdentity, kTable)
{
}

// The shelf adds (G - 1) times the one-pole's high band: at the top the
// signal is lifted by G, in the lows the high band is nearly 0 and x passes.
void AirShelf::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer) || context.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double fs = context.sampleRate;
    const double frequency = Value(FrequencyHz);
    const double corner = frequency > 0.45 * fs ? 0.45 * fs : std::max(frequency, 1000.0);
    const double k = OnePoleCoefficient(corner, fs);
    const double lift = DbToGain(a * Value(GainDb)) - 1.0;
    for (size_t i = 0; i < buffer.samples.size(); i += 2)
    {
        for (size_t channel = 0; channel < 2; ++channel)
        {
            double& x = buffer.samples[i + channel];
            const double low = OnePoleLowPassStep(m_lowState[channel], x, k);
            x += lift * (x - low);
        }
    }
}
