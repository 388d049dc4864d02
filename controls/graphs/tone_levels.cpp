#include "controls/graphs/tone_levels.h"

#include "controls/graphs/window_analysis.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace
{

struct Band
{
    double lowHz;
    double highHz;
};
constexpr std::array<Band, kToneBands> kBands = {
    {{30, 120}, {120, 800}, {800, 4000}, {4000, 16000}}};

constexpr std::size_t kFewestPoints = 128;
constexpr std::size_t kMostPoints = 2048;
constexpr std::size_t kProbesPerBand = 6;
constexpr double kLowestProbeHz = 20;

} // namespace

ToneLevels ToneBandLevels(const AudioBuffer& audio, double cursorSec, double windowSec)
{
    ToneLevels levels{};
    if (audio.sampleRate <= 0 || audio.samples.size() < 2)
    {
        return levels;
    }
    const ResampledWindow window = HannResample(
        audio, WindowAroundCursor(audio, cursorSec, windowSec), kFewestPoints, kMostPoints);
    for (std::size_t band = 0; band < kToneBands; ++band)
    {
        const double lo = std::max(kLowestProbeHz, kBands[band].lowHz);
        const double hi = std::min(kBands[band].highHz, window.HighestProbeHz());
        if (lo >= hi)
        {
            continue;
        }
        double power = 0.0;
        for (const double hz : LogSpacedProbes(lo, hi, kProbesPerBand))
        {
            power += std::norm(SingleBin(window.points, hz, window.rate));
        }
        levels[band] = 10 * std::log10(power / kProbesPerBand + 1e-12);
    }
    const ToneLevels raw = levels;
    for (std::size_t band = 1; band + 1 < kToneBands; ++band)
    {
        levels[band] = 0.22 * raw[band - 1] + 0.56 * raw[band] + 0.22 * raw[band + 1];
    }
    return levels;
}

ToneCurve ToneCurveOf(const AudioBuffer& source, const AudioBuffer& processed, double cursorSec,
                      double windowSec)
{
    ToneCurve curve;
    curve.delta = processed.FrameCount() >= 1;
    const ToneLevels sourceLevels = ToneBandLevels(source, cursorSec, windowSec);
    if (curve.delta)
    {
        const ToneLevels processedLevels = ToneBandLevels(processed, cursorSec, windowSec);
        for (std::size_t band = 0; band < kToneBands; ++band)
        {
            curve.values[band] = std::clamp(processedLevels[band] - sourceLevels[band], -6.0, 6.0);
        }
    }
    else
    {
        for (std::size_t band = 0; band < kToneBands; ++band)
        {
            curve.values[band] = std::clamp(sourceLevels[band], -60.0, 12.0);
        }
    }
    double largest = 0.0;
    for (const double value : curve.values)
    {
        largest = std::max(largest, std::fabs(value));
    }
    curve.scaleDb = largest > 0.2 ? largest : (curve.delta ? 2.0 : 12.0);
    return curve;
}
