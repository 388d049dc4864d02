#include "addons/spectral/spectral_dynamics.h"

#include "addons/kit/bin_gain_pass.h"
#include "addons/kit/knee_laws.h"
#include "engine/decibels.h"

#include <algorithm>
#include <array>
#include <limits>

namespace
{

enum Param
{
    ThresholdDb,
    Ratio,
    RangeDb,
    AttackMs,
    ReleaseMs,
    KneeDb,
    MakeupDb,
    SmoothingBins,
    LowFreqHz,
    HighFreqHz,
    Mix
};

constexpr AddonIdentity kIdentity{
    "spectral_dynamics", "Spectral Dynamics",
    "Per-frequency-bin dynamics processor that applies independent compression to each FFT bin. "
    "Unlike multiband compressors with 3-5 fixed bands, this operates on hundreds of individual "
    "frequency bins, each with its own envelope follower and gain computer. Achieves surgical "
    "dynamic control where a resonant spike can be tamed without affecting its immediate "
    "spectral neighbors.",
    "Use for transparent loudness shaping, full-spectrum de-essing, resonance control, and "
    "taming harsh transients in specific frequency regions. Particularly effective on dense "
    "mixes where broadband or multiband compression introduces unwanted pumping or coloration. "
    "Can also add body and density when used gently.",
    ChainPreMatch};

constexpr std::array<AddonParamDef, 11> kTable{{
    {"threshold_db", "Threshold", kAddonParamContinuous, -60.0, 0.0, -30.0, 0.5, "dB"},
    {"ratio", "Ratio", kAddonParamContinuous, 1.0, 20.0, 3.0, 0.1, ":1"},
    {"range_db", "Range", kAddonParamContinuous, -48.0, 0.0, -24.0, 0.5, "dB"},
    {"attack_ms", "Attack", kAddonParamContinuous, 0.5, 100.0, 10.0, 0.5, "ms"},
    {"release_ms", "Release", kAddonParamContinuous, 10.0, 1000.0, 100.0, 1.0, "ms"},
    {"knee_db", "Knee", kAddonParamContinuous, 0.0, 24.0, 6.0, 0.5, "dB"},
    {"makeup_db", "Makeup", kAddonParamContinuous, 0.0, 18.0, 0.0, 0.1, "dB"},
    {"smoothing_bins", "Smoothing", kAddonParamContinuous, 0.0, 12.0, 3.0, 1.0, "bins"},
    {"low_freq_hz", "Low Cutoff", kAddonParamContinuous, 20.0, 500.0, 40.0, 1.0, "Hz"},
    {"high_freq_hz", "High Cutoff", kAddonParamContinuous, 2000.0, 20000.0, 18000.0, 100.0, "Hz"},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
}};

// A silent envelope keeps unity gain.
constexpr double kLeastEnvelope = 1e-18;

// A ratio this close to 1 does not compress, and the range is not applied.
constexpr double kLeastRatio = 1.0001;

// A knee narrower than this is a corner.
constexpr double kLeastKneeDb = 0.1;

} // namespace

SpectralDynamicsCurve::SpectralDynamicsCurve(const SpectralDynamicsLaw& law)
    : m_law{law.thresholdDb, std::max(law.ratio, 1.0), std::max(law.kneeDb, 0.0), law.rangeDb},
      m_compresses(m_law.ratio > kLeastRatio), m_rangeGain(DbToGain(law.rangeDb))
{
    const bool soft = m_law.kneeDb >= kLeastKneeDb;
    const double kneeTopDb = m_law.thresholdDb + (soft ? 0.5 * m_law.kneeDb : 0.0);
    m_unityBelow = DbToGain(soft ? m_law.thresholdDb - 0.5 * m_law.kneeDb : m_law.thresholdDb);
    // Where the straight part of the law reaches the range; a range reached
    // inside the knee is left to the law itself.
    const double slope = 1.0 - 1.0 / m_law.ratio;
    const double rangeFromDb = m_compresses ? m_law.thresholdDb - m_law.rangeDb / slope : 0.0;
    m_rangeFrom = m_compresses && rangeFromDb >= kneeTopDb
                      ? DbToGain(rangeFromDb)
                      : std::numeric_limits<double>::infinity();
}

double SpectralDynamicsCurve::Gain(double envelope) const
{
    if (!m_compresses || !(envelope >= kLeastEnvelope) || envelope <= m_unityBelow)
    {
        return 1.0;
    }
    if (envelope >= m_rangeFrom)
    {
        return m_rangeGain;
    }
    const double overDb = GainToDb(envelope, kLeastEnvelope) - m_law.thresholdDb;
    const double reductionDb = m_law.kneeDb < kLeastKneeDb
                                   ? HardKneeGainDb(overDb, m_law.ratio)
                                   : SoftKneeGainDb(overDb, m_law.ratio, m_law.kneeDb);
    return DbToGain(std::max(reductionDb, m_law.rangeDb));
}

SpectralDynamics::SpectralDynamics() : AddonBase(kIdentity, kTable)
{
}

// Bins outside the band keep unity before the make-up, so the make-up reaches
// every bin.
void SpectralDynamics::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const SpectralDynamicsCurve curve(
        {Value(ThresholdDb), Value(Ratio), Value(KneeDb), Value(RangeDb)});
    const BinGainPassSettings settings{.attackMs = Value(AttackMs),
                                       .releaseMs = Value(ReleaseMs),
                                       .lowHz = Value(LowFreqHz),
                                       .highHz = Value(HighFreqHz),
                                       .smoothingBins = Value(SmoothingBins),
                                       .makeup = DbToGain(Value(MakeupDb))};
    ProcessWithBinGains(buffer, context, Value(Mix), settings,
                        [&](double envelope) { return curve.Gain(envelope); });
}
