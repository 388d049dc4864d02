#include "engine/stages/limiter_input.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <stdexcept>

void CheckLimiterInput(const AudioBuffer& buffer, double ceilingLinear)
{
    if (!(ceilingLinear > 0.0) || !std::isfinite(ceilingLinear))
    {
        throw std::runtime_error("Limiter ceiling must be > 0");
    }
    if (buffer.samples.size() % 2 != 0)
    {
        throw std::runtime_error("Limiter requires interleaved stereo input");
    }
    if (!buffer.samples.empty() && buffer.sampleRate <= 0)
    {
        throw std::runtime_error("Limiter sample rate must be > 0");
    }
}

bool AnyFrameOver(const AudioBuffer& buffer, double ceilingLinear)
{
    for (size_t i = 0; i < buffer.FrameCount(); ++i)
    {
        if (FramePeak(buffer.samples.data(), i) > ceilingLinear)
        {
            return true;
        }
    }
    return false;
}

std::vector<double> FramePeaks(const AudioBuffer& buffer)
{
    std::vector<double> peaks(buffer.FrameCount());
    for (size_t i = 0; i < peaks.size(); ++i)
    {
        peaks[i] = FramePeak(buffer.samples.data(), i);
    }
    return peaks;
}

double LargestMagnitude(const std::vector<double>& samples)
{
    double largest = 0.0;
    for (const double value : samples)
    {
        const double magnitude = std::fabs(value);
        if (magnitude > largest && std::isfinite(magnitude))
        {
            largest = magnitude;
        }
    }
    return largest;
}

size_t PeakBlockCount(const AudioBuffer& buffer)
{
    return (buffer.FrameCount() + kPeakBlockFrames - 1) / kPeakBlockFrames;
}

namespace
{

// The filter reaches tapsPerPhase frames to each side; one more for safety.
size_t BlockContext(const Oversampler& oversampler)
{
    return static_cast<size_t>(oversampler.Config().tapsPerPhase) + 1;
}

// No upsampled value exceeds this times the largest |input| within its reach:
// the largest sum of |tap| over the taps that meet the input of one phase.
double LargestPhaseGain(const Oversampler& oversampler)
{
    const std::vector<double>& taps = oversampler.UpTaps();
    const size_t factor = static_cast<size_t>(oversampler.Config().factor);
    double largest = 0.0;
    for (size_t phase = 0; phase < factor; ++phase)
    {
        double sum = 0.0;
        for (size_t k = phase; k < taps.size(); k += factor)
        {
            sum += std::fabs(taps[k]);
        }
        largest = std::max(largest, sum);
    }
    return largest;
}

// Rounding of an upsampled value stays far inside this share of the bound.
constexpr double kBoundMargin = 1e-9;

// No upsampled value of the block exceeds this: its reach's largest finite
// |input| times phaseGain (a frame that meets a non-finite input is non-finite).
double BlockBound(const AudioBuffer& buffer, size_t context, double phaseGain, size_t block)
{
    const size_t begin = block * kPeakBlockFrames;
    const size_t from = begin >= context ? begin - context : 0;
    const size_t to = std::min(buffer.FrameCount(), begin + kPeakBlockFrames + context);
    double inputPeak = 0.0;
    for (size_t i = 2 * from; i < 2 * to; ++i)
    {
        const double magnitude = std::fabs(buffer.samples[i]);
        inputPeak = magnitude > inputPeak && std::isfinite(magnitude) ? magnitude : inputPeak;
    }
    return phaseGain * inputPeak;
}

} // namespace

double OversampledBlockPeak(const AudioBuffer& buffer, const Oversampler& oversampler, size_t block)
{
    const size_t begin = block * kPeakBlockFrames;
    std::vector<double> up;
    oversampler.UpsampleRange(buffer, begin, begin + kPeakBlockFrames, up);
    return LargestMagnitude(up);
}

std::vector<double> OversampledBlockPeakBounds(const AudioBuffer& buffer,
                                               const Oversampler& oversampler)
{
    const size_t blocks = PeakBlockCount(buffer);
    const size_t context = BlockContext(oversampler);
    const double phaseGain = LargestPhaseGain(oversampler) * (1.0 + kBoundMargin);
    std::vector<double> bounds(blocks);
    for (size_t b = 0; b < blocks; ++b)
    {
        bounds[b] = BlockBound(buffer, context, phaseGain, b);
    }
    // Loudest blocks first, so that the estimate found early rules out the rest.
    std::vector<size_t> order(blocks);
    std::iota(order.begin(), order.end(), size_t{0});
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return bounds[a] > bounds[b]; });
    double largest = 0.0;
    for (const size_t b : order)
    {
        if (bounds[b] > largest)
        {
            bounds[b] = OversampledBlockPeak(buffer, oversampler, b);
            largest = std::max(largest, bounds[b]);
        }
    }
    return bounds;
}

bool AnyOversampledFrameOver(const AudioBuffer& buffer, const Oversampler& oversampler,
                             double ceilingLinear)
{
    const size_t context = BlockContext(oversampler);
    const double phaseGain = LargestPhaseGain(oversampler) * (1.0 + kBoundMargin);
    std::vector<double> up;
    for (size_t b = 0; b < PeakBlockCount(buffer); ++b)
    {
        if (BlockBound(buffer, context, phaseGain, b) <= ceilingLinear)
        {
            continue;
        }
        const size_t begin = b * kPeakBlockFrames;
        oversampler.UpsampleRange(buffer, begin, begin + kPeakBlockFrames, up);
        for (size_t i = 0; i < up.size() / 2; ++i)
        {
            if (FramePeak(up.data(), i) > ceilingLinear)
            {
                return true;
            }
        }
    }
    return false;
}
