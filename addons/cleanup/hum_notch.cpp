#include "addons/cleanup/hum_notch.h"

#include "addons/kit/biquad_design.h"
#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"

#include <algorithm>
#include <cmath>

namespace
{

enum Param
{
    Amount,
    BaseFrequencyHz
};

constexpr AddonIdentity kIdentity{
    "hum_notch", "Hum Notch", "Suppresses mains hum and its harmonics before matching.",
    "Best on noisy transfers or recordings with obvious power hum.", ChainPreMatch};

constexpr std::array<AddonParamDef, 2> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
    {"base_frequency_hz", "Base Frequency", kAddonParamContinuous, 50.0, 60.0, 60.0, 10.0, "Hz"},
}};

constexpr std::size_t kHarmonics = 3;
// Narrow enough to leave 70 Hz nearly whole beside a 60 Hz notch.
constexpr double kNotchQ = 18.0;

double MainsFrequency(double value)
{
    return value < 55.0 ? 50.0 : 60.0;
}

} // namespace

HumNotch::HumNotch() : AddonBase(kIdentity, kTable)
{
}

// A value that is not a number goes on unsnapped, for the base to refuse.
bool HumNotch::setParameter(const std::string& id, double value)
{
    if (id == kTable[BaseFrequencyHz].id && !std::isnan(value))
    {
        value = MainsFrequency(value);
    }
    return AddonBase::setParameter(id, value);
}

void HumNotch::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer) || context.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double fs = context.sampleRate;
    const double base = MainsFrequency(Value(BaseFrequencyHz));
    std::array<BiquadCoefficients, kHarmonics> notches{};
    for (std::size_t h = 0; h < kHarmonics; ++h)
    {
        notches[h] = Notch(std::min(0.45 * fs, static_cast<double>(h + 1) * base), kNotchQ, fs);
    }
    for (size_t i = 0; i < buffer.samples.size(); i += 2)
    {
        for (size_t channel = 0; channel < 2; ++channel)
        {
            double& x = buffer.samples[i + channel];
            double y = x;
            for (std::size_t h = 0; h < kHarmonics; ++h)
            {
                y = BiquadStep(m_sections[kHarmonics * channel + h], y, notches[h]);
            }
            x = y * a + x * (1.0 - a);
        }
    }
}
