#include "addons/stereo/stereo_band_rebalance.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/mid_side.h"
#include "addons/kit/wet_dry_mix.h"
#include "engine/dsp/one_pole_low_pass.h"

#include <array>
#include <cmath>

namespace
{

enum Param
{
    BassToMono,
    MidBias,
    HighBias,
    Mix
};

constexpr AddonIdentity kIdentity{
    "stereo_band_rebalance", "Stereo Band Rebalance",
    "Rebalances mids and highs left or right while optionally collapsing bass toward mono.",
    "Try to fix image imbalance in PREMATCH first; use this as a fallback when mids or highs "
    "still lean by band.",
    ChainStereoImage};

constexpr std::array<AddonParamDef, 4> kTable{{
    {"bass_to_mono", "Collapse Bass", kAddonParamContinuous, 0.0, 1.0, 0.0, 0.01, ""},
    {"mid_bias", "Mid Bias", kAddonParamContinuous, -1.0, 1.0, 0.0, 0.01, ""},
    {"high_bias", "High Bias", kAddonParamContinuous, -1.0, 1.0, 0.0, 0.01, ""},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

constexpr double kLowCrossoverHz = 350.0;
constexpr double kHighCrossoverHz = 2400.0;

// How much a full bias narrows its band's side, and how much of that side it
// leans into the mid.
constexpr double kBiasNarrowing = 0.25;
constexpr double kBiasLean = 0.55;

// Two one-pole low-passes in series at one corner, each starting from rest.
struct TwoPoleLowPass
{
    double coefficient;
    double first = 0.0;
    double second = 0.0;

    double Step(double input)
    {
        return OnePoleLowPassStep(second, OnePoleLowPassStep(first, input, coefficient),
                                  coefficient);
    }
};

} // namespace

StereoBandRebalance::StereoBandRebalance() : AddonBase(kIdentity, kTable)
{
}

// Three bands of mid and side: the low side collapses towards mono, and a bias
// narrows its band's side and leans it into the mid, which moves that band
// towards one channel. The biases enter with their sign reversed.
void StereoBandRebalance::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double fs = context.sampleRate;
    if (!IsWholeStereoBuffer(buffer) || fs <= 0.0)
    {
        return;
    }
    const double m = ClampToRange(Value(Mix), 0.0, 1.0);
    if (m <= 0.0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double lowK = OnePoleCoefficient(ClampToRange(kLowCrossoverHz, 60.0, 0.46 * fs), fs);
    const double highK = OnePoleCoefficient(ClampToRange(kHighCrossoverHz, 60.0, 0.46 * fs), fs);
    const double bass = ClampToRange(Value(BassToMono), 0.0, 1.0);
    const double midBias = -ClampToRange(Value(MidBias), -1.0, 1.0);
    const double highBias = -ClampToRange(Value(HighBias), -1.0, 1.0);
    TwoPoleLowPass mid350{lowK};
    TwoPoleLowPass side350{lowK};
    TwoPoleLowPass mid2400{highK};
    TwoPoleLowPass side2400{highK};
    std::vector<double>& samples = buffer.samples;
    for (size_t i = 0; i + 1 < samples.size(); i += 2)
    {
        const double left = samples[i];
        const double right = samples[i + 1];
        const double mid = MidOf(left, right);
        const double side = SideOf(left, right);
        const double m350 = mid350.Step(mid);
        const double s350 = side350.Step(side);
        const double m2400 = mid2400.Step(mid);
        const double s2400 = side2400.Step(side);

        const double lowMid = m350;
        const double lowSide = s350 * (1.0 - bass);
        const double middleRawSide = s2400 - s350;
        const double middleSide = middleRawSide * (1.0 - kBiasNarrowing * std::fabs(midBias));
        const double middleMid = (m2400 - m350) + kBiasLean * midBias * middleRawSide;
        const double highRawSide = side - s2400;
        const double highSide = highRawSide * (1.0 - kBiasNarrowing * std::fabs(highBias));
        const double highMid = (mid - m2400) + kBiasLean * highBias * highRawSide;

        const double wetLeft = lowMid + lowSide + middleMid + middleSide + highMid + highSide;
        const double wetRight = lowMid - lowSide + middleMid - middleSide + highMid - highSide;
        samples[i] = MixWetDry(wetLeft, left, m);
        samples[i + 1] = MixWetDry(wetRight, right, m);
    }
}
