#include "addons/stereo/stereo_widener.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/mid_side.h"
#include "engine/dsp/one_pole_low_pass.h"

#include <array>

namespace
{

enum Param
{
    Amount,
    LowHz
};

constexpr AddonIdentity kIdentity{
    "stereo_widener", "Stereo Widener",
    "Expands high-frequency stereo width while protecting the low end.",
    "Use when the match feels narrow and the center remains stable.", ChainStereoImage};

constexpr std::array<AddonParamDef, 2> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
    {"low_hz", "Low Protect", kAddonParamContinuous, 60.0, 400.0, 160.0, 1.0, "Hz"},
}};

// The side above the protect corner grows by up to this factor at full amount.
constexpr double kMaxHighSideGrowth = 1.25;

} // namespace

StereoWidener::StereoWidener() : AddonBase(kIdentity, kTable)
{
}

// There is no mix: the amount alone sets how far the high side grows.
void StereoWidener::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    const double fs = context.sampleRate;
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer) || fs <= 0.0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double k = OnePoleCoefficient(ClampToRange(Value(LowHz), 20.0, 0.475 * fs), fs);
    const double highGain = 1.0 + kMaxHighSideGrowth * a;
    double lowState = 0.0;
    std::vector<double>& samples = buffer.samples;
    for (size_t i = 0; i + 1 < samples.size(); i += 2)
    {
        const double mid = MidOf(samples[i], samples[i + 1]);
        const double side = SideOf(samples[i], samples[i + 1]);
        const double lowSide = OnePoleLowPassStep(lowState, side, k);
        const double newSide = (side - lowSide) * highGain + lowSide;
        samples[i] = mid + newSide;
        samples[i + 1] = mid - newSide;
    }
}
