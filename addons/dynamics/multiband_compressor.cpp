#include "addons/dynamics/multiband_compressor.h"

#include "addons/dynamics/band_compressor_gain.h"
#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/stereo_level.h"
#include "addons/kit/time_coefficient.h"
#include "addons/kit/wet_dry_mix.h"
#include "engine/dsp/one_pole_low_pass.h"

#include <array>

namespace
{

enum Param
{
    LowAmount,
    MidAmount,
    HighAmount,
    CrossoverLowHz,
    CrossoverHighHz,
    Mix
};

constexpr AddonIdentity kIdentity{"multiband_compressor", "Multiband Compressor",
                                  "Three-band mastering compression for low-end containment, mid "
                                  "density, and high-band smoothing.",
                                  "Use when one part of the spectrum needs firmer control than the "
                                  "rest of the master.",
                                  ChainPostMatchDynamics};

constexpr std::array<AddonParamDef, 6> kTable{{
    {"low_amount", "Low", kAddonParamContinuous, 0.0, 1.0, 0.35, 0.01, ""},
    {"mid_amount", "Mid", kAddonParamContinuous, 0.0, 1.0, 0.25, 0.01, ""},
    {"high_amount", "High", kAddonParamContinuous, 0.0, 1.0, 0.2, 0.01, ""},
    {"crossover_low_hz", "Low Xover", kAddonParamContinuous, 60.0, 600.0, 180.0, 1.0, "Hz"},
    {"crossover_high_hz", "High Xover", kAddonParamContinuous, 1200.0, 8000.0, 3200.0, 1.0, "Hz"},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

constexpr double kAttackMs = 18.0;
constexpr double kReleaseMs = 180.0;

// One value split into three bands by two one-pole low-passes that both read
// the input, so that low + mid + high gives the input back.
struct ThreeBands
{
    double low;
    double mid;
    double high;
};

// The two low-pass states of one channel.
struct CrossoverStates
{
    double low = 0.0;
    double high = 0.0;
};

ThreeBands SplitThreeBands(double x, CrossoverStates& states, double lowPole, double highPole)
{
    const double low = OnePoleLowPassStep(states.low, x, lowPole);
    const double belowHigh = OnePoleLowPassStep(states.high, x, highPole);
    return {low, belowHigh - low, x - belowHigh};
}

double Recombined(const ThreeBands& bands, const ThreeBands& gains)
{
    return bands.low * gains.low + bands.mid * gains.mid + bands.high * gains.high;
}

} // namespace

MultibandCompressor::MultibandCompressor() : AddonBase(kIdentity, kTable)
{
}

// Each band has its own stereo-linked follower and gain, so a loud bass line
// no longer pulls the cymbals down with it.
void MultibandCompressor::process(AudioBuffer& buffer, const ProcessContext& context)
{
    if (!IsWholeStereoBuffer(buffer))
    {
        return;
    }
    const ThreeBands amounts{ClampToRange(Value(LowAmount), 0.0, 1.0),
                             ClampToRange(Value(MidAmount), 0.0, 1.0),
                             ClampToRange(Value(HighAmount), 0.0, 1.0)};
    const double mix = ClampToRange(Value(Mix), 0.0, 1.0);
    if (mix <= 0.0 || (amounts.low <= 0.0 && amounts.mid <= 0.0 && amounts.high <= 0.0))
    {
        return;
    }
    const double fs = context.sampleRate > 0 ? context.sampleRate : buffer.sampleRate;
    if (fs <= 0.0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double lowPole = OnePoleCoefficient(ClampToRange(Value(CrossoverLowHz), 60.0, 600.0), fs);
    const double highPole =
        OnePoleCoefficient(ClampToRange(Value(CrossoverHighHz), 1200.0, 8000.0), fs);
    const double attack = TimeCoefficient(kAttackMs, fs);
    const double release = TimeCoefficient(kReleaseMs, fs);

    CrossoverStates leftStates;
    CrossoverStates rightStates;
    ThreeBands followers{0.0, 0.0, 0.0};
    std::vector<double>& x = buffer.samples;
    for (size_t i = 0; i + 1 < x.size(); i += 2)
    {
        const ThreeBands left = SplitThreeBands(x[i], leftStates, lowPole, highPole);
        const ThreeBands right = SplitThreeBands(x[i + 1], rightStates, lowPole, highPole);
        const ThreeBands gains{
            BandCompressorGain(followers.low, StereoRmsLevel(left.low, right.low), amounts.low,
                               attack, release),
            BandCompressorGain(followers.mid, StereoRmsLevel(left.mid, right.mid), amounts.mid,
                               attack, release),
            BandCompressorGain(followers.high, StereoRmsLevel(left.high, right.high), amounts.high,
                               attack, release)};
        x[i] = MixWetDry(Recombined(left, gains), x[i], mix);
        x[i + 1] = MixWetDry(Recombined(right, gains), x[i + 1], mix);
    }
}
