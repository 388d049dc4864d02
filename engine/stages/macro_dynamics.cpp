#include "engine/stages/macro_dynamics.h"

#include "engine/decibels.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{

constexpr double kWindowSeconds = 3.0; // the short-term loudness window
constexpr double kHopSeconds = 1.0;
// Ranges narrower than this are taken as this, so a near-constant track or
// reference cannot produce a huge ratio.
constexpr double kNarrowestRangeDb = 0.25;
constexpr double kLargestGainDb = 3.0;
// Below this summed window weight a sample counts as not covered by a window.
constexpr double kCoveredWeight = 1e-9;
// Forward smoothing of the curve: one pole at 0.8 (a few samples).
constexpr double kSmoothingPole = 0.8;

bool AllFinite(const PercentileSet& values, double range)
{
    return std::isfinite(range) &&
           std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// Hann-weighted overlap-add of the window gains, divided by the summed weight.
std::vector<double> OverlapAddGains(size_t length, const std::vector<double>& windowGainDb,
                                    size_t window, size_t hop)
{
    std::vector<double> hann(window);
    const double span = static_cast<double>(std::max<size_t>(window - 1, 1));
    for (size_t j = 0; j < window; ++j)
    {
        hann[j] = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(j) / span);
    }
    std::vector<double> acc(length, 0.0);
    std::vector<double> weight(length, 0.0);
    for (size_t k = 0; k < windowGainDb.size(); ++k)
    {
        const size_t start = k * hop;
        if (start + window > length)
        {
            break;
        }
        const double linear = DbToGain(windowGainDb[k]);
        for (size_t j = 0; j < window; ++j)
        {
            acc[start + j] += hann[j] * linear;
            weight[start + j] += hann[j];
        }
    }

    // The Hann window is 0 at its ends, so the first samples, and the tail after
    // the last full window, are covered by no window. They hold the nearest
    // covered gain: falling back to unity there would step the level by up to
    // 3 dB at the ends of the track, an audible click.
    size_t firstCovered = length;
    size_t lastCovered = 0;
    for (size_t i = 0; i < length; ++i)
    {
        if (weight[i] > kCoveredWeight)
        {
            firstCovered = std::min(firstCovered, i);
            lastCovered = i;
            acc[i] /= weight[i];
        }
        else
        {
            acc[i] = 1.0;
        }
    }
    if (firstCovered < length)
    {
        std::fill(acc.begin(), acc.begin() + static_cast<std::ptrdiff_t>(firstCovered),
                  acc[firstCovered]);
        std::fill(acc.begin() + static_cast<std::ptrdiff_t>(lastCovered) + 1, acc.end(),
                  acc[lastCovered]);
    }
    return acc;
}

} // namespace

std::vector<double> WindowedRmsDb(std::span<const double> x, int sampleRate, double floor,
                                  long long windowLength, long long hopLength)
{
    std::vector<double> levels;
    if (x.empty() || sampleRate <= 0 || windowLength <= 0 || hopLength <= 0 ||
        static_cast<long long>(x.size()) < windowLength)
    {
        return levels;
    }
    const size_t window = static_cast<size_t>(windowLength);
    const size_t hop = static_cast<size_t>(hopLength);
    for (size_t start = 0; start + window <= x.size(); start += hop)
    {
        double sumSquares = 0.0;
        for (size_t i = start; i < start + window; ++i)
        {
            const double sample = ClampedForMeasurement(x[i]);
            sumSquares += sample * sample;
        }
        levels.push_back(GainToDb(std::sqrt(sumSquares / static_cast<double>(window)), floor));
    }
    return levels;
}

PercentileSet Percentiles(std::span<const double> values)
{
    PercentileSet result{};
    if (values.empty())
    {
        return result;
    }
    std::vector<double> sorted(values.begin(), values.end());
    std::sort(sorted.begin(), sorted.end());
    const size_t n = sorted.size();
    const double quantiles[] = {0.10, 0.25, 0.50, 0.75, 0.90};
    for (size_t q = 0; q < result.size(); ++q)
    {
        const double position = quantiles[q] * static_cast<double>(n - 1);
        const size_t i = static_cast<size_t>(std::floor(position));
        const double next = sorted[std::min(i + 1, n - 1)];
        result[q] = sorted[i] + (next - sorted[i]) * (position - static_cast<double>(i));
    }
    return result;
}

MacroDynamicsResult MacroDynamicsGain(std::span<const double> x, int sampleRate, double floor,
                                      const PercentileSet& referencePercentiles,
                                      double referenceLoudnessRange, double macroStrength)
{
    MacroDynamicsResult result;
    result.macroAttempted = true;
    result.referencePercentiles = referencePercentiles;
    result.referenceLoudnessRange = referenceLoudnessRange;

    // Written so that a NaN strength switches the step off.
    const double strength = std::min(macroStrength, 1.0);
    if (!(strength > 0.0) || x.empty() || sampleRate <= 0 ||
        !AllFinite(referencePercentiles, referenceLoudnessRange))
    {
        return result;
    }
    const long long window = std::max(std::llrint(kWindowSeconds * sampleRate), 1LL);
    const long long hop = std::max(std::llrint(kHopSeconds * sampleRate), 1LL);
    const std::vector<double> series = WindowedRmsDb(x, sampleRate, floor, window, hop);
    if (series.size() < 2)
    {
        return result;
    }

    const PercentileSet& ref = referencePercentiles;
    const PercentileSet cur = Percentiles(series);
    result.currentPercentiles = cur;
    result.currentLoudnessRange = std::max(cur[4] - cur[0], kNarrowestRangeDb);
    result.referenceLoudnessRange = std::max(referenceLoudnessRange, kNarrowestRangeDb);
    const double rangeRatio = result.referenceLoudnessRange / result.currentLoudnessRange;
    const double lowRatio =
        std::max(ref[2] - ref[0], kNarrowestRangeDb) / std::max(cur[2] - cur[0], kNarrowestRangeDb);
    const double highRatio =
        std::max(ref[4] - ref[2], kNarrowestRangeDb) / std::max(cur[4] - cur[2], kNarrowestRangeDb);

    // Each window's distance from the median is rescaled by the mean of the
    // overall and the one-sided range ratio; the strength's share is applied.
    std::vector<double> windowGainDb(series.size());
    for (size_t k = 0; k < series.size(); ++k)
    {
        const double deviation = series[k] - cur[2];
        const double sideRatio = deviation >= 0.0 ? highRatio : lowRatio;
        const double targetDb =
            ((rangeRatio + sideRatio) / 2.0 * deviation + cur[2] - series[k]) * strength;
        windowGainDb[k] = std::clamp(targetDb, -kLargestGainDb, kLargestGainDb);
    }

    std::vector<double> gain = OverlapAddGains(x.size(), windowGainDb, static_cast<size_t>(window),
                                               static_cast<size_t>(hop));
    for (size_t i = 1; i < gain.size(); ++i)
    {
        gain[i] = kSmoothingPole * gain[i - 1] + (1.0 - kSmoothingPole) * gain[i];
    }

    // The logarithm is monotonic, so the extremes in dB are those of the gains;
    // the mean of the dB values is taken from products of short runs of gains
    // (within +-3 dB, 64 of them cannot leave the range of a double).
    const auto [smallest, largest] = std::minmax_element(gain.begin(), gain.end());
    result.minGainDb = GainToDb(*smallest, floor);
    result.maxGainDb = GainToDb(*largest, floor);
    constexpr size_t kProductRun = 64;
    double sumDb = 0.0;
    for (size_t start = 0; start < gain.size(); start += kProductRun)
    {
        double product = 1.0;
        for (size_t i = start; i < std::min(start + kProductRun, gain.size()); ++i)
        {
            product *= std::max(gain[i], floor);
        }
        sumDb += 20.0 * std::log10(product);
    }
    result.meanGainDb = sumDb / static_cast<double>(gain.size());
    result.gain = std::move(gain);
    result.macroApplied = true;
    return result;
}
