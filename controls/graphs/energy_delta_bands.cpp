#include "controls/graphs/energy_delta_bands.h"

#include "engine/decibels.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace
{

constexpr double kLowestBandHz = 30;
constexpr double kHighestBandHz = 16000;
constexpr double kLowestProbeHz = 20;
constexpr std::size_t kFewestPoints = 256;
constexpr std::size_t kMostPoints = 4096;
constexpr std::size_t kProbesPerBand = 7;
constexpr double kQuietestMagnitude = 1e-6;
constexpr double kLargestDeltaDb = 10;

// The amplitude of a sine that sits on the probe, from its single-bin
// magnitude over `count` Hann-weighted points: the bin sums the sine's half
// amplitude times each weight, and the weights 0.5 - 0.5 cos(2 pi i / (N - 1))
// of i = 0 .. N - 1 sum to (N - 1) / 2.
double SineAmplitude(double magnitude, std::size_t count)
{
    return count > 1 ? magnitude * 4 / double(count - 1) : 0.0;
}

} // namespace

std::array<EnergyBand, kEnergyBands> EnergyBandsFor(int sampleRate)
{
    const double nyquist = sampleRate / 2.0;
    const double top = nyquist < 18000 ? 0.92 * nyquist : kHighestBandHz;
    const double ratio = top / kLowestBandHz;
    std::array<EnergyBand, kEnergyBands> bands{};
    for (std::size_t t = 0; t < kEnergyBands; ++t)
    {
        bands[t].lowHz =
            std::max(kLowestProbeHz, kLowestBandHz * std::pow(ratio, double(t) / kEnergyBands));
        bands[t].highHz =
            std::min(kLowestBandHz * std::pow(ratio, double(t + 1) / kEnergyBands), 0.95 * nyquist);
    }
    return bands;
}

ResampledWindow EnergyWindow(const AudioBuffer& audio, double cursorSec, double windowSec)
{
    return HannResample(audio, WindowAroundCursor(audio, cursorSec, windowSec), kFewestPoints,
                        kMostPoints);
}

EnergyLevels EnergyBandLevels(const AudioBuffer& audio, double cursorSec, double windowSec)
{
    EnergyLevels levels;
    levels.fill(kEnergyFloorDb);
    if (audio.sampleRate <= 0 || audio.samples.size() < 2)
    {
        return levels;
    }
    const ResampledWindow window = EnergyWindow(audio, cursorSec, windowSec);
    const std::array<EnergyBand, kEnergyBands> bands = EnergyBandsFor(audio.sampleRate);
    for (std::size_t t = 0; t < kEnergyBands; ++t)
    {
        // A long window spreads its frames thinly over the points: the probes
        // then stop below the points' own Nyquist frequency, not the buffer's.
        const double lo = bands[t].lowHz;
        const double hi = std::min(bands[t].highHz, window.HighestProbeHz());
        if (!(hi > lo))
        {
            continue;
        }
        double magnitudes = 0.0;
        for (const double hz : LogSpacedProbes(lo, hi, kProbesPerBand))
        {
            magnitudes += std::abs(SingleBin(window.points, hz, window.rate));
        }
        const double amplitude = SineAmplitude(magnitudes / kProbesPerBand, window.points.size());
        levels[t] =
            std::clamp(GainToDb(amplitude, kQuietestMagnitude), kEnergyFloorDb, kEnergyCeilingDb);
    }
    return levels;
}

EnergyBars EnergyBarsOf(const AudioBuffer& source, const AudioBuffer& processed, double cursorSec,
                        double windowSec)
{
    EnergyBars bars;
    bars.delta = processed.sampleRate > 0 && processed.samples.size() >= 2;
    const EnergyLevels sourceLevels = EnergyBandLevels(source, cursorSec, windowSec);
    if (bars.delta)
    {
        const EnergyLevels processedLevels = EnergyBandLevels(processed, cursorSec, windowSec);
        for (std::size_t t = 0; t < kEnergyBands; ++t)
        {
            bars.values[t] =
                std::clamp(processedLevels[t] - sourceLevels[t], -kLargestDeltaDb, kLargestDeltaDb);
        }
    }
    else
    {
        bars.values = sourceLevels;
    }
    for (const double value : bars.values)
    {
        bars.scaleDb = std::max(bars.scaleDb, std::fabs(value));
    }
    return bars;
}
