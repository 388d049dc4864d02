#include "engine/loudness/loudness.h"

#include "engine/decibels.h"
#include "engine/loudness/k_weighting.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{

constexpr double kLoudnessOffsetLu = -0.691; // BS.1770: -0.691 + 10 log10(sum of weighted z)
constexpr double kAbsoluteGateLufs = -70.0;  // BS.1770 absolute gate
constexpr double kRelativeGateLu = -10.0;    // BS.1770 relative gate, below the ungated mean
constexpr double kGatingBlockSeconds = 0.4;  // 400 ms gating block (momentary loudness)
constexpr double kGatingHopSeconds = 0.1;    // 75 % overlap of the gating blocks
constexpr size_t kShortTermBlockSeconds = 3; // 3 s block (short-term loudness)
constexpr size_t kShortTermHopSeconds = 1;   // one short-term value per second
constexpr double kRangeWindowLu = -20.0;     // short-term values kept for the range
constexpr std::array<double, 2> kChannelWeights = {1.0, 1.0}; // BS.1770 left and right
constexpr std::array<double, 5> kDistributionPercentiles = {0.10, 0.25, 0.50, 0.75, 0.90};
constexpr double kRangeLowPercentile = 0.10;
constexpr double kRangeHighPercentile = 0.95;

double BlockLoudnessLufs(double meanSquare)
{
    if (meanSquare <= 0.0)
    {
        return -std::numeric_limits<double>::infinity();
    }
    return kLoudnessOffsetLu + 10.0 * std::log10(meanSquare);
}

// Frames in a block of the given length: rounded to nearest, ties to even (the
// default rounding mode), and at least one.
size_t FramesIn(double seconds, int sampleRate)
{
    return std::max<size_t>(1, static_cast<size_t>(std::nearbyint(seconds * sampleRate)));
}

double MeanOf(const std::vector<double>& values)
{
    double sum = 0.0;
    for (double value : values)
    {
        sum += value;
    }
    return sum / static_cast<double>(values.size());
}

void AddShortTermDistribution(const std::vector<double>& leftSums,
                              const std::vector<double>& rightSums, size_t frames, int sampleRate,
                              LoudnessStats& stats)
{
    const size_t rate = static_cast<size_t>(sampleRate);
    const size_t block = std::max<size_t>(1, kShortTermBlockSeconds * rate);
    const size_t hop = std::max<size_t>(1, kShortTermHopSeconds * rate);
    if (frames < block)
    {
        return;
    }
    std::vector<double> shortTermLufs;
    for (double z : BlockMeanSquares(leftSums, rightSums, kChannelWeights, frames, block, hop))
    {
        const double lufs = BlockLoudnessLufs(z);
        if (std::isfinite(lufs) && lufs >= kAbsoluteGateLufs)
        {
            shortTermLufs.push_back(lufs);
        }
    }
    if (shortTermLufs.empty())
    {
        return;
    }
    std::sort(shortTermLufs.begin(), shortTermLufs.end());
    stats.hasShortTermDistribution = true;
    for (size_t i = 0; i < kDistributionPercentiles.size(); ++i)
    {
        stats.shortTermLufsPercentiles[i] =
            InterpolatedPercentile(shortTermLufs, kDistributionPercentiles[i]);
    }

    // Sorted ascending, so the values within the window are a tail of the list.
    const auto firstInRange = std::lower_bound(shortTermLufs.begin(), shortTermLufs.end(),
                                               stats.integratedLufs + kRangeWindowLu);
    const std::span<const double> inRange(firstInRange, shortTermLufs.end());
    if (!inRange.empty())
    {
        stats.loudnessRange = InterpolatedPercentile(inRange, kRangeHighPercentile) -
                              InterpolatedPercentile(inRange, kRangeLowPercentile);
    }
}

} // namespace

std::vector<double> CumulativeSquares(std::span<const double> samples)
{
    std::vector<double> sums(samples.size() + 1);
    double sum = 0.0;
    sums[0] = 0.0;
    for (size_t i = 0; i < samples.size(); ++i)
    {
        sum += samples[i] * samples[i];
        sums[i + 1] = sum;
    }
    return sums;
}

std::vector<double> BlockMeanSquares(std::span<const double> leftSums,
                                     std::span<const double> rightSums,
                                     std::array<double, 2> channelWeights, size_t frameCount,
                                     size_t blockFrames, size_t hopFrames)
{
    std::vector<double> energies;
    if (blockFrames == 0 || hopFrames == 0 || leftSums.empty() || rightSums.empty())
    {
        return energies;
    }
    // Never read past the sums actually given, whatever frame count is claimed.
    const size_t frames = std::min({frameCount, leftSums.size() - 1, rightSums.size() - 1});
    if (frames < blockFrames)
    {
        return energies;
    }
    const double length = static_cast<double>(blockFrames);
    energies.reserve((frames - blockFrames) / hopFrames + 1);
    for (size_t start = 0; start <= frames - blockFrames; start += hopFrames)
    {
        const size_t end = start + blockFrames;
        energies.push_back(channelWeights[0] * (leftSums[end] - leftSums[start]) / length +
                           channelWeights[1] * (rightSums[end] - rightSums[start]) / length);
    }
    return energies;
}

double InterpolatedPercentile(std::span<const double> sortedValues, double p)
{
    if (sortedValues.empty())
    {
        return 0.0;
    }
    const size_t last = sortedValues.size() - 1;
    // NaN is treated as 0 rather than turned into an index.
    const double clamped = std::isnan(p) ? 0.0 : std::clamp(p, 0.0, 1.0);
    const double x = clamped * static_cast<double>(last);
    const size_t i = static_cast<size_t>(std::floor(x));
    const double below = sortedValues[i];
    const double above = sortedValues[std::min(i + 1, last)];
    return below + (above - below) * (x - static_cast<double>(i));
}

double SamplePeakDb(const AudioBuffer& buffer)
{
    double peak = 0.0;
    for (double sample : buffer.samples)
    {
        peak = std::max(peak, std::abs(sample));
    }
    return GainToDb(peak, 0.0); // no floor: silence reads -infinity
}

LoudnessStats MeasureLoudness(const AudioBuffer& buffer)
{
    LoudnessStats stats;
    const size_t frames = buffer.FrameCount();
    if (buffer.sampleRate < 1 || frames < 2)
    {
        return stats;
    }
    const size_t block = FramesIn(kGatingBlockSeconds, buffer.sampleRate);
    const size_t hop = FramesIn(kGatingHopSeconds, buffer.sampleRate);
    if (frames < block)
    {
        return stats;
    }

    std::vector<double> leftSums;
    std::vector<double> rightSums;
    KWeightedCumulativeSquares(buffer.samples, buffer.sampleRate, leftSums, rightSums);
    // A NaN or infinite sample poisons every sum after it; measuring only the
    // blocks before it would report a loudness the track does not have.
    if (!std::isfinite(leftSums.back()) || !std::isfinite(rightSums.back()))
    {
        return stats;
    }

    std::vector<double> blocks =
        BlockMeanSquares(leftSums, rightSums, kChannelWeights, frames, block, hop);
    std::erase_if(blocks,
                  [](double z) { return !(z > 0.0 && BlockLoudnessLufs(z) >= kAbsoluteGateLufs); });
    if (blocks.empty())
    {
        return stats;
    }
    const double relativeGateLufs = BlockLoudnessLufs(MeanOf(blocks)) + kRelativeGateLu;
    std::erase_if(blocks,
                  [relativeGateLufs](double z) { return BlockLoudnessLufs(z) < relativeGateLufs; });
    if (blocks.empty())
    {
        return stats;
    }
    stats.hasIntegratedLufs = true;
    stats.integratedLufs = BlockLoudnessLufs(MeanOf(blocks));

    AddShortTermDistribution(leftSums, rightSums, frames, buffer.sampleRate, stats);
    return stats;
}
