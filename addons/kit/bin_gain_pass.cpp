#include "addons/kit/bin_gain_pass.h"

#include "addons/kit/bin_envelope.h"
#include "addons/kit/moving_average_smooth.h"
#include "addons/kit/spectral_band.h"
#include "addons/kit/spectral_frame.h"
#include "addons/kit/spectral_process.h"

namespace
{

constexpr std::size_t kFrameLength = 4096;

} // namespace

void RunBinGainPass(std::vector<double>& samples, double sampleRate,
                    const BinGainPassSettings& settings, const BinGainLaw& law)
{
    SpectralFrame frame(kFrameLength);
    const std::size_t bins = frame.BinCount();
    const BinFollowerCoefficients follower =
        BinFollowerCoefficientsFor(settings.attackMs, settings.releaseMs, sampleRate, frame.Hop());
    const SpectralBand band =
        SpectralBandLimits(settings.lowHz, settings.highHz, sampleRate, kFrameLength);
    const int radius = SmoothingRadius(settings.smoothingBins);
    std::vector<double> envelopes;
    PrepareBinEnvelopes(envelopes, bins, 0.0);
    std::vector<double> gains(bins);
    std::vector<double> prefix(bins + 1);
    frame.Process(samples, samples,
                  [&](FrameSpectrum& spectrum)
                  {
                      FollowBinMagnitudes(envelopes, spectrum, follower);
                      for (std::size_t k = 0; k < bins; ++k)
                      {
                          gains[k] = band.Contains(k) ? law(envelopes[k]) : 1.0;
                      }
                      MovingAverageSmooth(gains, radius, prefix);
                      for (std::size_t k = 0; k < bins; ++k)
                      {
                          spectrum[k] *= settings.makeup * gains[k];
                      }
                  });
}

void ProcessWithBinGains(AudioBuffer& buffer, const ProcessContext& context, double mix,
                         const BinGainPassSettings& settings, const BinGainLaw& law)
{
    ProcessEachChannelSpectrally(buffer, context, mix,
                                 [&](std::vector<double>& samples, double sampleRate)
                                 { RunBinGainPass(samples, sampleRate, settings, law); });
}
