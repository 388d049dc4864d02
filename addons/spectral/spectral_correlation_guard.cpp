#include "addons/spectral/spectral_correlation_guard.h"

#include "addons/kit/bin_envelope.h"
#include "addons/kit/clamp_range.h"
#include "addons/kit/moving_average_smooth.h"
#include "addons/kit/spectral_band.h"
#include "addons/kit/spectral_frame.h"
#include "addons/kit/spectral_process.h"
#include "addons/kit/time_coefficient.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace
{

enum Param
{
    CorrelationThreshold,
    Amount,
    LowFreqHz,
    HighFreqHz,
    SmoothingBins,
    HoldMs,
    Mix
};

constexpr AddonIdentity kIdentity{
    "spectral_correlation_guard", "Spectral Correlation Guard",
    "Monitors per-frequency-bin stereo correlation and narrows bins that fall out of phase. "
    "Computes the instantaneous L/R phase relationship for each FFT bin and blends problematic "
    "bins toward mid, preserving the stereo field everywhere else. Prevents mono-summation "
    "cancellation at the frequency level.",
    "Use on masters with aggressive stereo widening, phase-manipulated elements, or side-heavy "
    "low end that cancels on mono playback. Essential for broadcast, vinyl cutting, and club "
    "systems. Also catches subtle phase issues from multi-mic recordings that survive into the "
    "master.",
    ChainPreMatch};

constexpr std::array<AddonParamDef, 7> kTable{{
    {"correlation_threshold", "Threshold", kAddonParamContinuous, -1.0, 1.0, 0.0, 0.01, ""},
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.6, 0.01, ""},
    {"low_freq_hz", "Low Cutoff", kAddonParamContinuous, 20.0, 500.0, 40.0, 1.0, "Hz"},
    {"high_freq_hz", "High Cutoff", kAddonParamContinuous, 2000.0, 20000.0, 16000.0, 100.0, "Hz"},
    {"smoothing_bins", "Smoothing", kAddonParamContinuous, 0.0, 12.0, 4.0, 1.0, "bins"},
    {"hold_ms", "Hold", kAddonParamContinuous, 5.0, 500.0, 50.0, 1.0, "ms"},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

// A product of magnitudes this small has no phase to speak of.
constexpr double kLeastMagnitudeProduct = 1e-18;

// The frame transforms both channels in one complex transform, so a silent
// channel comes back with the other's rounding residue, some 1e-16 of it, in
// place of zeros; a side this far below the other is silent.
constexpr double kSilentSideRatio = 1e-9;

// A correlation drop is followed at once with this share of the new value.
constexpr double kDropShare = 0.7;

// Narrowing amounts below this leave the bin as it is.
constexpr double kLeastNarrowing = 1e-8;

// With a threshold this close to -1 no envelope lies below it by a measurable
// share, so any bin under it is narrowed fully.
constexpr double kLeastThresholdSpan = 1e-6;

struct GuardPass
{
    double threshold;
    double amount;
    double holdCoefficient;
    double lowHz;
    double highHz;
    double smoothingBins;
};

void FollowCorrelation(double& envelope, double correlation, double holdCoefficient)
{
    envelope = envelope > correlation
                   ? kDropShare * correlation + (1.0 - kDropShare) * envelope
                   : (1.0 - holdCoefficient) * correlation + holdCoefficient * envelope;
}

void GuardBothChannels(std::vector<double>& left, std::vector<double>& right, double sampleRate,
                       const GuardPass& pass)
{
    SpectralFrame frame(kSpectralFrameLength);
    const std::size_t bins = frame.BinCount();
    const SpectralBand band =
        SpectralBandLimits(pass.lowHz, pass.highHz, sampleRate, kSpectralFrameLength);
    const int radius = SmoothingRadius(pass.smoothingBins);
    std::vector<double> envelopes;
    PrepareBinEnvelopes(envelopes, bins, 1.0);
    std::vector<double> narrowing(bins);
    std::vector<double> prefix(bins + 1);
    frame.Process(left, right, left, right,
                  [&](FrameSpectrum& x, FrameSpectrum& y)
                  {
                      for (std::size_t k = 0; k < bins; ++k)
                      {
                          narrowing[k] = 0.0;
                          if (band.Contains(k))
                          {
                              FollowCorrelation(envelopes[k], BinCorrelation(x[k], y[k]),
                                                pass.holdCoefficient);
                              narrowing[k] =
                                  CorrelationNarrowing(envelopes[k], pass.threshold, pass.amount);
                          }
                      }
                      MovingAverageSmooth(narrowing, radius, prefix);
                      for (std::size_t k = 0; k < bins; ++k)
                      {
                          const double g = narrowing[k];
                          if (g >= kLeastNarrowing)
                          {
                              const std::complex<double> mid = 0.5 * (x[k] + y[k]);
                              x[k] += (mid - x[k]) * g;
                              y[k] += (mid - y[k]) * g;
                          }
                      }
                  });
}

} // namespace

double BinCorrelation(std::complex<double> left, std::complex<double> right)
{
    const double l = std::abs(left);
    const double r = std::abs(right);
    const double product = l * r;
    if (!(product > kLeastMagnitudeProduct) || std::min(l, r) <= kSilentSideRatio * std::max(l, r))
    {
        return 1.0;
    }
    const double cosine = (left.real() * right.real() + left.imag() * right.imag()) / product;
    // Infinite parts give no phase either; read as correlated, the bin's
    // envelope stays a number.
    if (std::isnan(cosine))
    {
        return 1.0;
    }
    return ClampToRange(cosine, -1.0, 1.0);
}

double CorrelationNarrowing(double envelope, double threshold, double amount)
{
    if (envelope >= threshold)
    {
        return 0.0;
    }
    double s = 1.0;
    if (threshold + 1.0 > kLeastThresholdSpan)
    {
        s = ClampToRange((threshold - envelope) / (threshold + 1.0), 0.0, 1.0);
    }
    return (3.0 - 2.0 * s) * s * s * amount;
}

SpectralCorrelationGuard::SpectralCorrelationGuard() : AddonBase(kIdentity, kTable)
{
}

void SpectralCorrelationGuard::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double amount = ClampToRange(Value(Amount), 0.0, 1.0);
    if (amount < kLeastSpectralShare)
    {
        return;
    }
    ProcessBothChannelsSpectrally(
        buffer, context, Value(Mix),
        [&](std::vector<double>& left, std::vector<double>& right, double sampleRate)
        {
            const double hopsPerSecond = sampleRate / static_cast<double>(kSpectralFrameLength / 4);
            const GuardPass pass{.threshold = ClampToRange(Value(CorrelationThreshold), -1.0, 1.0),
                                 .amount = amount,
                                 .holdCoefficient =
                                     TimeCoefficient(std::max(Value(HoldMs), 1.0), hopsPerSecond),
                                 .lowHz = Value(LowFreqHz),
                                 .highHz = Value(HighFreqHz),
                                 .smoothingBins = Value(SmoothingBins)};
            GuardBothChannels(left, right, sampleRate, pass);
        });
}
