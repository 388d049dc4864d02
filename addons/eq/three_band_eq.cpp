#include "addons/eq/three_band_eq.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "engine/decibels.h"
#include "engine/dsp/one_pole_low_pass.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace
{

enum Param
{
    LowGainDb,
    MidGainDb,
    HighGainDb
};

constexpr AddonIdentity kIdentity{
    "three_band_eq", "3-Band EQ",
    "Broad bass, mid, and high EQ for obvious post-match tonal moves.",
    "Use when you want a simple clearly audible tone control after the match.", ChainPostMatchTone};

constexpr std::array<AddonParamDef, 3> kTable{{
    {"low_gain_db", "Bass", kAddonParamContinuous, -12.0, 12.0, 0.0, 0.1, "dB"},
    {"mid_gain_db", "Mid", kAddonParamContinuous, -12.0, 12.0, 0.0, 0.1, "dB"},
    {"high_gain_db", "High", kAddonParamContinuous, -12.0, 12.0, 0.0, 0.1, "dB"},
}};

constexpr double kNoGainDb = 1e-9;

} // namespace

ThreeBandEq::ThreeBandEq() : AddonBase(kIdentity, kTable)
{
}

// Two one-pole low-passes cut each channel into low, mid and high bands that
// add up to the input, so equal gains scale it and nothing else changes.
void ThreeBandEq::process(AudioBuffer& buffer, const ProcessContext& context)
{
    if (!IsWholeStereoBuffer(buffer))
    {
        return;
    }
    if (std::fabs(Value(LowGainDb)) < kNoGainDb && std::fabs(Value(MidGainDb)) < kNoGainDb &&
        std::fabs(Value(HighGainDb)) < kNoGainDb)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double fs = std::max(context.sampleRate, 1);
    const double lowCorner = ClampToRange(m_lowCrossoverHz, 80.0, 800.0);
    const double highCorner = ClampToRange(m_highCrossoverHz, lowCorner + 200.0, 8000.0);
    const double kLow = OnePoleCoefficient(lowCorner, fs);
    const double kHigh = OnePoleCoefficient(highCorner, fs);
    const double gl = DbToGain(Value(LowGainDb));
    const double gm = DbToGain(Value(MidGainDb));
    const double gh = DbToGain(Value(HighGainDb));
    std::array<double, 2> lowState{};
    std::array<double, 2> highState{};
    for (size_t i = 0; i < buffer.samples.size(); i += 2)
    {
        for (size_t channel = 0; channel < 2; ++channel)
        {
            double& x = buffer.samples[i + channel];
            const double yl = OnePoleLowPassStep(lowState[channel], x, kLow);
            const double yh = OnePoleLowPassStep(highState[channel], x, kHigh);
            x = gl * yl + gm * (yh - yl) + gh * (x - yh);
        }
    }
}
