#include "engine/dsp/band_split.h"

#include "engine/dsp/one_pole_low_pass.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace
{

constexpr double kLowestCrossoverHz = 80.0;
constexpr double kHighestTopHz = 16000.0;
constexpr double kLowestTopHz = 100.0;
// The top crossover stays at 90 % of Nyquist at low rates.
constexpr double kTopShareOfNyquist = 0.9;

} // namespace

double BandCrossoverHz(int sampleRate, int bandCount, int j)
{
    const double top =
        std::max(std::min(0.5 * kTopShareOfNyquist * sampleRate, kHighestTopHz), kLowestTopHz);
    return kLowestCrossoverHz *
           std::pow(top / kLowestCrossoverHz, static_cast<double>(j) / bandCount);
}

double BandCrossoverCoefficient(int sampleRate, int bandCount, int j)
{
    const double rate = sampleRate;
    // Written as min(max()) so that a rate of 1 or 2 Hz cannot invert the range.
    const double cutoffHz =
        std::min(std::max(BandCrossoverHz(sampleRate, bandCount, j), 1.0), 0.999 * rate / 2.0);
    return OnePoleCoefficient(cutoffHz, rate);
}

std::vector<std::vector<double>> SplitIntoBands(std::span<const double> x, int sampleRate,
                                                int bandCount)
{
    if (sampleRate <= 0)
    {
        throw std::runtime_error("Band split sample rate must be > 0");
    }
    const int bands = std::max(bandCount, 1);
    std::vector<std::vector<double>> result;
    result.reserve(static_cast<size_t>(bands));
    if (bands == 1)
    {
        result.emplace_back(x.begin(), x.end());
        return result;
    }
    // Band 0 is the first low-pass; band j the low-pass above it minus the one
    // below; the last band is whatever the top low-pass leaves out.
    std::vector<double> below = OnePoleLowPass(x, BandCrossoverCoefficient(sampleRate, bands, 1));
    result.push_back(below);
    for (int j = 2; j < bands; ++j)
    {
        std::vector<double> low = OnePoleLowPass(x, BandCrossoverCoefficient(sampleRate, bands, j));
        std::vector<double>& band = result.emplace_back(x.size());
        for (size_t i = 0; i < x.size(); ++i)
        {
            band[i] = low[i] - below[i];
        }
        below = std::move(low);
    }
    std::vector<double>& top = result.emplace_back(x.size());
    for (size_t i = 0; i < x.size(); ++i)
    {
        top[i] = x[i] - below[i];
    }
    return result;
}
