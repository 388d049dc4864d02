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
