#include "addons/eq/dynamic_eq.h"

#include "addons/kit/biquad_design.h"
#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/level_follower.h"
#include "addons/kit/stereo_level.h"
#include "addons/kit/time_coefficient.h"
#include "engine/decibels.h"
#include "engine/dsp/one_pole_low_pass.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace
{

enum Param
{
    BandFreqHz,
    BandQ,
    ThresholdDb,
    RangeDb,
    AttackMs,
    ReleaseMs
};

constexpr AddonIdentity kIdentity{
    "dynamic_eq", "Dynamic EQ",
    "A single-band dynamic equalizer that attenuates or expands a chosen problem region only "
    "when it becomes excessive.",
    "Use for harshness, boxiness, or presence control when a static EQ cut would be too "
    "heavy-handed.",
    ChainPostMatchTone};

constexpr std::array<AddonParamDef, 6> kTable{{
    {"band_freq_hz", "Frequency", kAddonParamContinuous, 80.0, 12000.0, 3200.0, 1.0, "Hz"},
    {"band_q", "Q", kAddonParamContinuous, 0.3, 6.0, 1.0, 0.01, ""},
    {"threshold_db", "Threshold", kAddonParamContinuous, -48.0, -3.0, -24.0, 0.1, "dB"},
    {"range_db", "Range", kAddonParamContinuous, -12.0, 12.0, -4.0, 0.1, "dB"},
    {"attack_ms", "Attack", kAddonParamContinuous, 1.0, 100.0, 12.0, 1.0, "ms"},
    {"release_ms", "Release", kAddonParamContinuous, 10.0, 400.0, 120.0, 1.0, "ms"},
}};

// The whole range is reached this far over the threshold.
constexpr double kFullRangeOverDb = 18.0;

} // namespace

DynamicEq::DynamicEq() : AddonBase(kIdentity, kTable)
{
}

// The band is followed at its stereo RMS level and moved by a target gain that
// grows with the level over the threshold; the gain itself is smoothed in dB,
// taking the attack time whenever it stands above its target, so a cut falls
// at the attack speed and a lift rises at the release speed.
void DynamicEq::process(AudioBuffer& buffer, const ProcessContext& context)
{
    if (!IsWholeStereoBuffer(buffer))
    {
        return;
    }
    const int rate = context.sampleRate > 0 ? context.sampleRate : buffer.sampleRate;
    if (rate <= 0)
    {
        return;
    }
    const double fs = rate;
    const double f = ClampToRange(Value(BandFreqHz), 80.0, std::min(12000.0, 0.45 * fs));
    const double q = ClampToRange(Value(BandQ), 0.3, 6.0);
    const double thresholdDb = ClampToRange(Value(ThresholdDb), -48.0, -3.0);
    const double rangeDb = ClampToRange(Value(RangeDb), -12.0, 12.0);
    if (std::fabs(rangeDb) < 1e-6)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double attack = TimeCoefficient(std::max(Value(AttackMs), 1.0), fs);
    const double release = TimeCoefficient(std::max(Value(ReleaseMs), 10.0), fs);
    const BiquadCoefficients c = ConstantPeakBandPass(f, q, fs);
    // A follower this far under the threshold's level is under it in dB too,
    // whatever the rounding of the logarithm, which it is spared.
    const double surelyUnder = DbToGain(thresholdDb) * (1.0 - 1e-9);

    std::vector<double>& x = buffer.samples;
    for (size_t i = 0; i < x.size(); i += 2)
    {
        const double bL = BiquadStep(m_band[0], x[i], c);
        const double bR = BiquadStep(m_band[1], x[i + 1], c);
        FollowLevel(m_envelope, StereoRmsLevel(bL, bR), attack, release);
        const double overDb =
            m_envelope <= surelyUnder ? 0.0 : DecibelLevel(m_envelope) - thresholdDb;
        const double targetDb =
            overDb > 0.0 ? rangeDb * ClampToRange(overDb / kFullRangeOverDb, 0.0, 1.0) : 0.0;
        OnePoleLowPassStep(m_smoothedGainDb, targetDb,
                           m_smoothedGainDb > targetDb ? attack : release);
        if (m_smoothedGainDb != 0.0)
        {
            const double g = DbToGain(m_smoothedGainDb);
            x[i] += (g - 1.0) * bL;
            x[i + 1] += (g - 1.0) * bR;
        }
    }
}
