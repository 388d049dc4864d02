#include "engine/limiter_input.h"

#include <cmath>
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

std::vector<double> FramePeaks(const AudioBuffer& buffer)
{
    const size_t frames = buffer.FrameCount();
    std::vector<double> peaks(frames);
    const double* samples = buffer.samples.data();
    for (size_t i = 0; i < frames; ++i)
    {
        const double left = std::fabs(samples[2 * i]);
        const double right = std::fabs(samples[2 * i + 1]);
        const double peak = left > right ? left : right;
        peaks[i] = std::isfinite(left) && std::isfinite(right) ? peak : 0.0;
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
