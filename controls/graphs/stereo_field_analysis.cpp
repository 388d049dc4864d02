#include "controls/graphs/stereo_field_analysis.h"

#include "controls/graphs/graph_feed.h"
#include "controls/graphs/window_analysis.h"
#include "engine/dsp/one_pole_low_pass.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr double kSilence = 1e-6;
constexpr double kLeastWeight = 0.01;

bool Analysable(const AudioBuffer& audio)
{
    return audio.sampleRate >= 1 && audio.samples.size() >= 2;
}

// One channel of a band: a low-pass at the upper corner, and, when the band
// has a lower corner, that output low-passed again and taken away from it.
struct BandFilter
{
    double upperPole = 0.0;
    double lowerPole = 0.0;
    bool hasLowerCorner = false;
    double y = 0.0;
    double z = 0.0;

    double Level(double x)
    {
        OnePoleLowPassStep(y, x, upperPole);
        if (!hasLowerCorner)
        {
            return std::fabs(y);
        }
        OnePoleLowPassStep(z, y, lowerPole);
        return std::fabs(y - z);
    }
};

} // namespace

PolarDistribution StereoPolarDistribution(const AudioBuffer& audio, double cursorSec,
                                          double windowSec)
{
    PolarDistribution bins{};
    if (!Analysable(audio))
    {
        return bins;
    }
    const FrameRange window = WindowAroundCursor(audio, cursorSec, windowSec);
    const std::size_t end = std::min(window.end, audio.FrameCount());
    constexpr double kLast = double(kStereoFieldBins - 1);
    for (std::size_t frame = window.begin; frame < end; ++frame)
    {
        const double left = std::fabs(Finite(audio.samples[2 * frame]));
        const double right = std::fabs(Finite(audio.samples[2 * frame + 1]));
        const double a = left + right;
        if (a <= kSilence)
        {
            continue;
        }
        const double position = ((right - left) / a + 1) * 0.5 * kLast;
        const std::size_t k = static_cast<std::size_t>(std::clamp(position, 0.0, kLast));
        bins[k] = std::max(bins[k], a / 2);
    }
    const PolarDistribution raw = bins;
    for (std::size_t k = 1; k + 1 < kStereoFieldBins; ++k)
    {
        bins[k] = 0.22 * raw[k - 1] + 0.56 * raw[k] + 0.22 * raw[k + 1];
    }
    return bins;
}

BandCorners BalanceBandCorners(double rate, double lowHz, double highHz)
{
    BandCorners corners;
    corners.lowHz = std::clamp(lowHz, 0.0, 0.475 * rate);
    corners.highHz = corners.lowHz;
    if (highHz > 0)
    {
        const double upper = std::max(std::min(highHz, 0.49 * rate), corners.lowHz + 20);
        corners.highHz = upper > 0 ? upper : corners.lowHz;
    }
    return corners;
}

BandBalance StereoBandBalance(const AudioBuffer& audio, double cursorSec, double windowSec,
                              double lowHz, double highHz)
{
    BandBalance result;
    if (!Analysable(audio))
    {
        return result;
    }
    const double rate = audio.sampleRate;
    const BandCorners corners = BalanceBandCorners(rate, lowHz, highHz);
    BandFilter left;
    left.upperPole = OnePoleCoefficient(corners.highHz, rate);
    left.hasLowerCorner = corners.lowHz > 0;
    left.lowerPole = left.hasLowerCorner ? OnePoleCoefficient(corners.lowHz, rate) : 0.0;
    BandFilter right = left;

    const FrameRange window = WindowAroundCursor(audio, cursorSec, windowSec);
    const std::size_t end = std::min(window.end, audio.FrameCount());
    double weightedSum = 0.0;
    double weights = 0.0;
    double heaviest = 0.0;
    for (std::size_t frame = window.begin; frame < end; ++frame)
    {
        const double l = left.Level(Finite(audio.samples[2 * frame]));
        const double r = right.Level(Finite(audio.samples[2 * frame + 1]));
        const double level = l + r;
        if (level > kSilence)
        {
            const double weight = level / 2;
            weightedSum += weight * (r - l) / level;
            weights += weight;
            heaviest = std::max(heaviest, weight);
        }
    }
    if (weights > kSilence && heaviest >= kLeastWeight)
    {
        result.valid = true;
        result.mean = std::clamp(weightedSum / weights, -1.0, 1.0);
    }
    return result;
}

HeldRange Widened(HeldRange range, double mean)
{
    const float value = static_cast<float>(mean);
    if (!range.held)
    {
        return HeldRange{true, value, value};
    }
    range.min = std::min(range.min, value);
    range.max = std::max(range.max, value);
    return range;
}
