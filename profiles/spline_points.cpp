#include "profiles/spline_points.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr double kAxisBottomHz = 20.0;
// Below this Nyquist frequency the axis still reaches up to it.
constexpr double kLowestAxisTopHz = 1000.0;

} // namespace

double LogFrequencyAxis(std::size_t bin, std::size_t binCount, int sampleRate, int fftSize)
{
    if (binCount < 2)
        return 0.0;
    const double nyquistHz = sampleRate / 2.0;
    const double topHz = nyquistHz > kLowestAxisTopHz ? nyquistHz : kLowestAxisTopHz;
    const double size = fftSize < 3 ? 2.0 : static_cast<double>(fftSize);
    const double frequencyHz =
        std::max(static_cast<double>(bin) * static_cast<double>(sampleRate) / size, kAxisBottomHz);
    const double x = (std::log(std::min(frequencyHz, topHz)) - std::log(kAxisBottomHz)) /
                     (std::log(topHz) - std::log(kAxisBottomHz));
    return std::clamp(x, 0.0, 1.0);
}

double EvaluateSplinePoints(std::span<const double> points, double x)
{
    const std::size_t m = points.size();
    if (m == 0)
        return 0.0;
    if (m == 1)
        return points[0];
    // NaN fails both comparisons and reads as 0.
    x = x > 0.0 ? std::min(x, 1.0) : 0.0;
    const double s = static_cast<double>(m - 1) * x;
    const std::size_t k = std::min(static_cast<std::size_t>(s), m - 1);
    const double t = s - static_cast<double>(k);
    const double p0 = points[k == 0 ? 0 : k - 1];
    const double p1 = points[k];
    const double p2 = points[std::min(k + 1, m - 1)];
    const double p3 = points[std::min(k + 2, m - 1)];
    return 0.5 * (2.0 * p1 + (p2 - p0) * t + (2.0 * p0 - 5.0 * p1 + 4.0 * p2 - p3) * t * t +
                  (3.0 * p1 - p0 - 3.0 * p2 + p3) * t * t * t);
}

std::vector<double> ResampleSplinePoints(std::span<const double> points, int n)
{
    const std::size_t count = static_cast<std::size_t>(std::max(n, 4));
    const std::size_t m = points.size();
    if (m == 0)
        return std::vector<double>(count, 0.0);
    if (m == 1)
        return std::vector<double>(count, points[0]);
    std::vector<double> out(count);
    for (std::size_t i = 0; i < count; ++i)
    {
        const double s =
            static_cast<double>(i) / static_cast<double>(count - 1) * static_cast<double>(m - 1);
        const std::size_t k = std::min(static_cast<std::size_t>(s), m - 1);
        const double f = s - static_cast<double>(k);
        out[i] = (1.0 - f) * points[k] + f * points[std::min(k + 1, m - 1)];
    }
    return out;
}

void AddSplineCorrection(std::vector<double>& spectrumDb, std::span<const double> points,
                         int sampleRate, int fftSize, double contourScale, double tiltDb)
{
    if (spectrumDb.empty() || points.empty())
        return;
    const std::size_t n = spectrumDb.size();
    for (std::size_t i = 0; i < n; ++i)
    {
        const double x = LogFrequencyAxis(i, n, sampleRate, fftSize);
        spectrumDb[i] += (2.0 * x - 1.0) * tiltDb + contourScale * EvaluateSplinePoints(points, x);
    }
}
