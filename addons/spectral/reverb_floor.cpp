#include "addons/spectral/reverb_floor.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/spectral_frame.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr double kHop = 1024.0;

constexpr double kLeastQuantile = 0.1;
constexpr double kMostQuantile = 0.45;
constexpr double kQuantilePerOctave = 0.15;
constexpr double kShortestReverbSeconds = 0.05;
constexpr double kReverbShare = 0.25;

// Ascending, with every NaN after every number: a strict weak order on all
// doubles, which the plain < is not once a NaN is among them.
bool NumbersFirstAscending(double a, double b)
{
    if (std::isnan(a))
    {
        return false;
    }
    return std::isnan(b) || a < b;
}

} // namespace

double ReverbFloorQuantile(double reverbTimeMs, double sampleRate)
{
    const double quarterSeconds =
        kReverbShare * std::max(reverbTimeMs * 0.001, kShortestReverbSeconds);
    const double hops = quarterSeconds / (kHop / sampleRate);
    const double q = kLeastQuantile + kQuantilePerOctave * std::log2(std::max(1.0, hops));
    return ClampToRange(q, kLeastQuantile, kMostQuantile);
}

double InterpolatedQuantile(std::span<double> values, double q)
{
    if (values.empty())
    {
        return 0.0;
    }
    const std::size_t n = values.size();
    const double position = static_cast<double>(n - 1) * q;
    const std::size_t i = static_cast<std::size_t>(std::floor(position));
    const auto nth = values.begin() + static_cast<long>(i);
    std::nth_element(values.begin(), nth, values.end(), NumbersFirstAscending);
    const double lower = *nth;
    if (i + 1 >= n)
    {
        return lower;
    }
    // Everything after the i-th value is at least it, so the next in order is
    // the least of them.
    const double upper = *std::min_element(nth + 1, values.end(), NumbersFirstAscending);
    // Equal neighbours give the value itself, also when it is infinite.
    return upper == lower ? lower : lower + (upper - lower) * (position - static_cast<double>(i));
}

std::vector<double> EstimateReverbFloor(std::span<const double> samples, double sampleRate,
                                        double reverbTimeMs)
{
    SpectralFrame frame(kSpectralFrameLength);
    const std::size_t bins = frame.BinCount();
    const std::size_t frames = SpectralFrameCount(samples.size(), kSpectralFrameLength);
    // Bin by bin, each bin's history in one run, so that its quantile reorders
    // it in place.
    std::vector<double> history(frames * bins);
    std::size_t f = 0;
    frame.Analyse(samples,
                  [&](const FrameSpectrum& spectrum)
                  {
                      if (f == frames)
                      {
                          return;
                      }
                      for (std::size_t k = 0; k < bins; ++k)
                      {
                          history[k * frames + f] = std::abs(spectrum[k]);
                      }
                      ++f;
                  });
    const double q = ReverbFloorQuantile(reverbTimeMs, sampleRate);
    std::vector<double> floor(bins);
    for (std::size_t k = 0; k < bins; ++k)
    {
        floor[k] = InterpolatedQuantile(std::span(history).subspan(k * frames, frames), q);
    }
    return floor;
}
