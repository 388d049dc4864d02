#include "addons/kit/bin_envelope.h"

#include "addons/kit/level_follower.h"
#include "addons/kit/time_coefficient.h"

#include <algorithm>
#include <cmath>

BinFollowerCoefficients BinFollowerCoefficientsFor(double attackMs, double releaseMs,
                                                   double sampleRate, std::size_t hop)
{
    const double hopsPerSecond = sampleRate / static_cast<double>(hop);
    return {TimeCoefficient(std::max(attackMs, 1.0), hopsPerSecond),
            TimeCoefficient(std::max(releaseMs, 10.0), hopsPerSecond)};
}

void PrepareBinEnvelopes(std::vector<double>& envelopes, std::size_t count, double start)
{
    if (envelopes.size() != count)
    {
        envelopes.assign(count, start);
    }
}

void FollowBinMagnitudes(std::span<double> envelopes,
                         std::span<const std::complex<double>> spectrum,
                         const BinFollowerCoefficients& coefficients)
{
    const std::size_t count = std::min(envelopes.size(), spectrum.size());
    for (std::size_t k = 0; k < count; ++k)
    {
        // The hypotenuse without std::hypot's guard against overflow, which
        // costs several times as much; it matters only for samples beyond 1e150.
        const double magnitude = std::sqrt(std::norm(spectrum[k]));
        FollowLevel(envelopes[k], magnitude, coefficients.attack, coefficients.release);
    }
}
