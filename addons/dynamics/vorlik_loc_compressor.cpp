#include "addons/dynamics/vorlik_loc_compressor.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/dc_blocker.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/knee_laws.h"
#include "addons/kit/level_follower.h"
#include "addons/kit/time_coefficient.h"
#include "addons/kit/wet_dry_mix.h"
#include "engine/decibels.h"
#include "engine/dsp/one_pole_low_pass.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{

enum Param
{
    Drive,
    Distance,
    Speed,
    GainReleaseMs,
    TransformerSat,
    Mix,
    UseMosfet,
    VintageMode
};

constexpr AddonIdentity kIdentity{
    "vorlik_loc_compressor", "Vorlik-Loc M62",
    "Vintage-style JFET/MOSFET feedback compressor.Delivers musical pumping, input saturation "
    "and transformer colouring.",
    "Aggressive character compression on bus or full mix. High drive + slow release for "
    "psychedelic drum sounds.",
    ChainPostMatchDynamics};

// The defaults column is the object's current values; parameters() fills it in.
constexpr std::array<AddonParamDef, 8> kTable{{
    {"drive", "Drive", kAddonParamContinuous, 0.0, 1.0, 0.2, 0.01, ""},
    {"distance", "Distance", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
    {"speed", "Speed", kAddonParamContinuous, 0.0, 1.0, 0.0, 0.5, ""},
    {"gain_release_ms", "GR Smooth", kAddonParamContinuous, 0.0, 1.0, 0.3, 0.01, "ms"},
    {"transformer_sat", "Transformer", kAddonParamContinuous, 0.0, 1.0, 0.3, 0.01, ""},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
    {"use_mosfet", "JFET / MOSFET", kAddonParamToggle, 0.0, 1.0, 0.0, 1.0, ""},
    {"vintage_mode", "Modern / 1960", kAddonParamToggle, 0.0, 1.0, 0.0, 1.0, ""},
}};

// A toggle is on for values from here up.
constexpr double kToggleOn = 0.5;

// Beyond this the drive's square would overflow the drive gain.
constexpr double kDriveLimit = 1000.0;

// The fixed gain computer: 20:1 above the threshold, over a 6 dB knee.
constexpr double kRatio = 20.0;
constexpr double kLevelFloor = 1e-6; // -120 dB
constexpr double kLowestLevelDb = -90.0;

// The detector's high-pass keeps the bass from pumping the gain.
constexpr double kDetectorCornerHz = 80.0;
constexpr double kAttackMs = 0.5;
// The release slows by up to 1.5 x 2 + 1 = 4 times after 2 s above the threshold;
// below it, that memory fades by this factor a sample.
constexpr double kLongestSecondsAbove = 2.0;
constexpr double kReleaseSlowingPerSecond = 1.5;
constexpr double kMemoryFade = 0.9995;

// The DC blocker's pole 1 - 20/fs, kept inside this range.
constexpr double kDcBlockHz = 20.0;
constexpr double kLowestDcPole = 0.9;
constexpr double kHighestDcPole = 0.9999;

// The transformer splits at these corners and is on above this amount.
constexpr double kTransformerLowHz = 150.0;
constexpr double kTransformerHighHz = 15000.0;
constexpr double kTransformerOn = 0.005;

// The modern JFET's bias and what the curve makes of it alone: subtracting it
// keeps silence silent.
constexpr double kJfetBias = 0.3;
constexpr double kJfetBiasOutput = 0.29223300970873783;

// A rational approximation of tanh that reaches +-1 at +-3 with zero slope.
double SoftSaturation(double a)
{
    if (a > 3.0)
    {
        return 1.0;
    }
    if (a < -3.0)
    {
        return -1.0;
    }
    return (a * a + 27.0) * a / (9.0 * a * a + 27.0);
}

// The cubic u - (4/27) u^3, which meets +-1 at +-1.5 with zero slope.
double MosfetCurve(double u)
{
    if (u > 1.5)
    {
        return 1.0;
    }
    if (u < -1.5)
    {
        return -1.0;
    }
    return u - 0.148148148 * u * u * u;
}

// A one-pole RC high-pass: h = c (h + x - x1).
double HighPassStep(double& previousInput, double& previousOutput, double input, double coefficient)
{
    previousOutput = coefficient * (previousOutput + input - previousInput);
    previousInput = input;
    return previousOutput;
}

// The transformer of one channel at the squared amount t: the lows saturate
// with a bias (its own output subtracted), the highs above 150 Hz pass beside
// them, and the sum is smoothed a little more the harder it is driven.
double Transform(LevelLocCompressor::Channel& channel, double x, double t)
{
    const double low = OnePoleLowPassStep(channel.transformerLow, x, channel.lowCoefficient);
    const double bias = 0.2 * t;
    const double saturated = SoftSaturation((12.0 * t + 1.0) * low + bias) - SoftSaturation(bias);
    const double high =
        OnePoleLowPassStep(channel.transformerHigh, x - 0.8 * low, channel.highCoefficient);
    const double smoothing = 0.15 * t;
    channel.transformerOutput = (saturated / (0.5 * t + 1.0) + high) * (1.0 - smoothing) +
                                smoothing * channel.transformerOutput;
    return channel.transformerOutput;
}

} // namespace

LevelLocControls DeriveLevelLocControls(double drive, double distance, double speed,
                                        double gainReleaseMs)
{
    const double safeDrive = ClampToRange(drive, -kDriveLimit, kDriveLimit);
    const double thresholdDb = -3.0 - 27.0 * distance;
    double releaseMs = 50.0;
    if (speed < 0.25)
    {
        releaseMs = 500.0;
    }
    else if (speed < 0.75)
    {
        releaseMs = 250.0;
    }
    return {.driveGain = safeDrive * safeDrive * 19.0 + 1.0,
            .thresholdDb = thresholdDb,
            .makeup = std::min(20.0, 1.0 / std::max(DbToGain(thresholdDb), 0.1)),
            .releaseMs = releaseMs,
            .smoothingMs = gainReleaseMs * 9.5 + 0.5};
}

LevelLocCompressor::LevelLocCompressor(double drive, double distance, double speed,
                                       double gainReleaseMs, double transformerSat, double mix,
                                       bool useMosfet, bool vintageMode)
    : AddonBase(kIdentity, kTable), m_values{drive,         distance,       speed,
                                             gainReleaseMs, transformerSat, mix},
      m_useMosfet(useMosfet), m_vintageMode(vintageMode)
{
}

std::vector<AddonParamSpec> LevelLocCompressor::parameters() const
{
    std::vector<AddonParamSpec> specs = AddonBase::parameters();
    for (AddonParamSpec& spec : specs)
    {
        getParameter(spec.id, spec.defaultValue);
    }
    return specs;
}

bool LevelLocCompressor::setParameter(const std::string& id, double value)
{
    const auto row = std::find_if(kTable.begin(), kTable.end(),
                                  [&id](const AddonParamDef& def) { return id == def.id; });
    if (row == kTable.end() || !std::isfinite(value))
    {
        return false;
    }
    const auto index = static_cast<std::size_t>(row - kTable.begin());
    if (index == UseMosfet)
    {
        m_useMosfet = value >= kToggleOn;
    }
    else if (index == VintageMode)
    {
        m_vintageMode = value >= kToggleOn;
    }
    else
    {
        m_values[index] = value;
    }
    return true;
}

bool LevelLocCompressor::getParameter(const std::string& id, double& out) const
{
    const auto row = std::find_if(kTable.begin(), kTable.end(),
                                  [&id](const AddonParamDef& def) { return id == def.id; });
    if (row == kTable.end())
    {
        return false;
    }
    const auto index = static_cast<std::size_t>(row - kTable.begin());
    if (index == UseMosfet)
    {
        out = m_useMosfet ? 1.0 : 0.0;
    }
    else if (index == VintageMode)
    {
        out = m_vintageMode ? 1.0 : 0.0;
    }
    else
    {
        out = m_values[index];
    }
    return true;
}

// The detector's high-pass states are left as they are.
void LevelLocCompressor::Initialise(double sampleRate)
{
    m_sampleRate = sampleRate;
    const double rc = 1.0 / (2.0 * std::numbers::pi * kDetectorCornerHz);
    for (Channel& channel : m_channels)
    {
        channel.envelope = 0.0;
        channel.secondsAbove = 0.0;
        channel.smoothedGain = 1.0;
        channel.jfetLowPass = 0.0;
        channel.previousInput = 0.0;
        channel.saturatorOutput = 0.0;
        channel.transformerLow = 0.0;
        channel.transformerHigh = 0.0;
        channel.transformerOutput = 0.0;
        channel.dcInput = 0.0;
        channel.dcOutput = 0.0;
        channel.feedback = 0.0;
        channel.sampleRate = sampleRate;
        channel.dcPole = ClampToRange(1.0 - kDcBlockHz / sampleRate, kLowestDcPole, kHighestDcPole);
        channel.highPassCoefficient = rc / (rc + 1.0 / sampleRate);
        channel.lowCoefficient = OnePoleCoefficient(kTransformerLowHz, sampleRate);
        channel.highCoefficient = OnePoleCoefficient(kTransformerHighHz, sampleRate);
    }
    UpdateCoefficients();
    for (Channel& channel : m_channels)
    {
        channel.releaseInUse = channel.baseRelease;
    }
    m_initialised = true;
}

LevelLocControls LevelLocCompressor::UpdateCoefficients()
{
    const LevelLocControls controls = DeriveLevelLocControls(
        m_values[Drive], m_values[Distance], m_values[Speed], m_values[GainReleaseMs]);
    m_driveGain = controls.driveGain;
    m_thresholdDb = controls.thresholdDb;
    m_releaseMs = controls.releaseMs;
    m_smoothingMs = controls.smoothingMs;
    for (Channel& channel : m_channels)
    {
        channel.attack = TimeCoefficient(kAttackMs, m_sampleRate);
        channel.baseRelease = TimeCoefficient(m_releaseMs, m_sampleRate);
        channel.releaseMs = m_releaseMs;
        // A smoothing time of 0 or less lets the gain follow at once.
        channel.smoothing = TimeCoefficient(m_smoothingMs, m_sampleRate);
    }
    return controls;
}

// The three input curves: the MOSFET's clipped cubic, the 1960 JFET's
// low-passed curve that squeezes the negative half harder, and the modern
// JFET's biased curve for even harmonics.
double LevelLocCompressor::Saturate(Channel& channel, double x) const
{
    if (m_useMosfet)
    {
        return MosfetCurve(x * m_driveGain * (m_vintageMode ? 1.5 : 1.0));
    }
    if (m_vintageMode)
    {
        channel.jfetLowPass += (x - channel.jfetLowPass) * 0.4;
        const double a = channel.jfetLowPass * m_driveGain;
        const double p = SoftSaturation(a);
        return a < 0.0 ? p / (1.0 + 0.5 * std::fabs(a)) : p;
    }
    return SoftSaturation(x * m_driveGain + kJfetBias) - kJfetBiasOutput;
}

// The saturator runs on the midpoint with the previous sample and on the
// sample itself, a cheap twice-oversampled curve, and a light low-pass
// smooths the pair.
double LevelLocCompressor::InputStage(Channel& channel, double x) const
{
    const double betweenSamples = Saturate(channel, (x + channel.previousInput) / 2.0);
    channel.previousInput = x;
    const double atSample = Saturate(channel, x);
    channel.saturatorOutput = 0.375 * (betweenSamples + atSample) + 0.25 * channel.saturatorOutput;
    return channel.saturatorOutput;
}

// The smoothed gain for the linked level; the time spent above the threshold
// sets the release the next sample's envelope uses.
double LevelLocCompressor::GainFor(Channel& channel, double linkedLevel) const
{
    const double levelDb = std::max(GainToDb(linkedLevel, kLevelFloor), kLowestLevelDb);
    const double gainDb = SoftKneeGainDb(levelDb - m_thresholdDb, kRatio);
    const double k = channel.smoothing;
    channel.smoothedGain = DbToGain(gainDb) * (1.0 - k) + k * channel.smoothedGain;

    const double fs = channel.sampleRate;
    channel.secondsAbove = levelDb > m_thresholdDb
                               ? std::min(kLongestSecondsAbove, channel.secondsAbove + 1.0 / fs)
                               : channel.secondsAbove * kMemoryFade;
    const double slowing = kReleaseSlowingPerSecond * channel.secondsAbove + 1.0;
    channel.releaseInUse = TimeCoefficient(slowing * channel.releaseMs, fs);
    return channel.smoothedGain;
}

void LevelLocCompressor::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double fs = context.sampleRate;
    if (buffer.samples.empty() || !(fs > 0.0))
    {
        return;
    }
    const ScopedDenormalFlush flush;
    if (!m_initialised || fs != m_sampleRate)
    {
        Initialise(fs);
    }
    const double makeup = UpdateCoefficients().makeup;
    const double mix = ClampToRange(m_values[Mix], 0.0, 1.0);
    const bool transformerOn = m_values[TransformerSat] > kTransformerOn;
    const double transformerAmount = ClampToRange(m_values[TransformerSat], 0.0, 1.0);
    const double t = transformerAmount * transformerAmount;

    Channel& left = m_channels[0];
    Channel& right = m_channels[1];
    const std::size_t frames = buffer.samples.size() / 2;
    for (std::size_t i = 0; i < frames; ++i)
    {
        double* frame = &buffer.samples[2 * i];
        const double xL = frame[0];
        const double xR = frame[1];
        const double yL = InputStage(left, xL);
        const double yR = InputStage(right, xR);

        // The detector hears the compressor's own last output.
        const double hL = HighPassStep(left.highPassInput, left.highPassOutput, left.feedback,
                                       left.highPassCoefficient);
        const double hR = HighPassStep(right.highPassInput, right.highPassOutput, right.feedback,
                                       right.highPassCoefficient);
        FollowLevel(left.envelope, std::fabs(hL), left.attack, left.releaseInUse);
        FollowLevel(right.envelope, std::fabs(hR), right.attack, right.releaseInUse);
        const double linked = std::max(left.envelope, right.envelope);

        double outL = GainFor(left, linked) * yL * makeup;
        double outR = GainFor(right, linked) * yR * makeup;
        if (transformerOn)
        {
            outL = Transform(left, outL, t);
            outR = Transform(right, outR, t);
        }
        left.feedback = outL;
        right.feedback = outR;
        const double dL = DcBlockStep(left.dcInput, left.dcOutput, outL, left.dcPole);
        const double dR = DcBlockStep(right.dcInput, right.dcOutput, outR, right.dcPole);
        frame[0] = MixWetDry(dL, xL, mix);
        frame[1] = MixWetDry(dR, xR, mix);
    }
}
