#include "addons/eq/dynamic_air.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/level_follower.h"
#include "addons/kit/stereo_level.h"
#include "addons/kit/time_coefficient.h"
#include "engine/decibels.h"
#include "engine/dsp/one_pole_low_pass.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace
{

enum Param
{
    Amount,
    FrequencyHz
};

constexpr AddonIdentity kIdentity{
    "dynamic_air", "Dynamic Air", "Adds top-end air dynamically when the mix feels closed in.",
    "Best on dark material where a static shelf would be too obvious.", ChainPostMatchTone};

constexpr std::array<AddonParamDef, 2> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
    {"frequency_hz", "Frequency", kAddonParamContinuous, 8000.0, 18000.0, 12000.0, 100.0, "Hz"},
}};

constexpr double kMaxLiftDb = 4.0;
// The followed level of the air band at which the lift has faded to nothing.
constexpr double kOpenAirLevel = 0.12;

} // namespace

DynamicAir::DynamicAir() : AddonBase(kIdentity, kTable)
{
}

// The lift is greatest while the air band is silent and falls in a straight
// line with its followed level; a band loud enough gets none and keeps every
// bit.
void DynamicAir::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer) || context.sampleRate <= 0 ||
        buffer.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double fs = context.sampleRate;
    const double frequency = Value(FrequencyHz);
    const double corner = frequency > 0.45 * fs ? 0.45 * fs : std::max(frequency, 8000.0);
    const double k = OnePoleCoefficient(corner, fs);
    const double attack = TimeCoefficient(20.0, buffer.sampleRate);
    const double release = TimeCoefficient(250.0, buffer.sampleRate);

    std::vector<double>& x = buffer.samples;
    for (size_t i = 0; i < x.size(); i += 2)
    {
        const double hL = x[i] - OnePoleLowPassStep(m_lowPass[0], x[i], k);
        const double hR = x[i + 1] - OnePoleLowPassStep(m_lowPass[1], x[i + 1], k);
        FollowLevel(m_envelope, StereoRmsLevel(hL, hR), attack, release);
        const double liftDb =
            kMaxLiftDb * a * (1.0 - ClampToRange(m_envelope / kOpenAirLevel, 0.0, 1.0));
        if (liftDb != 0.0)
        {
            const double g = DbToGain(liftDb);
            x[i] += (g - 1.0) * hL;
            x[i + 1] += (g - 1.0) * hR;
        }
    }
}
