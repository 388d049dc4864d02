#include "addons/eq/dynamic_tilt.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/level_follower.h"
#include "addons/kit/stereo_level.h"
#include "addons/kit/time_coefficient.h"
#include "engine/decibels.h"
#include "engine/dsp/one_pole_low_pass.h"

#include <cstddef>
#include <vector>

namespace
{

enum Param
{
    Amount,
    PivotHz
};

constexpr AddonIdentity kIdentity{
    "dynamic_tilt", "Dynamic Tilt", "Applies a program-reactive tonal tilt around a pivot point.",
    "Use when the master needs adaptive brightening or warming.", ChainPostMatchTone};

constexpr std::array<AddonParamDef, 2> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
    {"pivot_hz", "Pivot", kAddonParamContinuous, 300.0, 3000.0, 1200.0, 10.0, "Hz"},
}};

// The followed level that reads as full: the tilt turns over at half of it.
constexpr double kFullLevel = 0.35;
// Each side of the pivot moves by this much per unit of tilt (which is at most
// a half either way).
constexpr double kDbPerTilt = 2.5;

} // namespace

DynamicTilt::DynamicTilt() : AddonBase(kIdentity, kTable)
{
}

// Quiet passages are tilted brighter and loud ones darker, the lows and the
// highs moving by the same amount in opposite directions around the pivot.
void DynamicTilt::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer) || context.sampleRate <= 0 ||
        buffer.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double k =
        OnePoleCoefficient(ClampToRange(Value(PivotHz), 300.0, 3000.0), context.sampleRate);
    const double attack = TimeCoefficient(25.0, buffer.sampleRate);
    const double release = TimeCoefficient(250.0, buffer.sampleRate);

    std::vector<double>& x = buffer.samples;
    for (size_t i = 0; i < x.size(); i += 2)
    {
        FollowLevel(m_envelope, StereoRmsLevel(x[i], x[i + 1]), attack, release);
        const double tilt = (0.5 - ClampToRange(m_envelope / kFullLevel, 0.0, 1.0)) * a;
        // The lows move by the opposite number of dB: the reciprocal gain,
        // which costs a division where a second power would cost far more.
        const double highGain = DbToGain(kDbPerTilt * tilt);
        const double lowGain = 1.0 / highGain;
        for (size_t channel = 0; channel < 2; ++channel)
        {
            double& value = x[i + channel];
            const double low = OnePoleLowPassStep(m_lowPass[channel], value, k);
            value = (value - low) * highGain + low * lowGain;
        }
    }
}
