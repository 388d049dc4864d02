#include "addons/kit/spectral_band.h"

#include "addons/kit/clamp_range.h"

#include <cmath>

SpectralBand SpectralBandLimits(double lowHz, double highHz, double sampleRate,
                                std::size_t frameLength)
{
    const double spacing = sampleRate / static_cast<double>(frameLength);
    const double lastBin = static_cast<double>(frameLength / 2);
    // Held in double first: a tiny rate makes the quotients too large for an
    // integer, and anything past the last bin means the same as the bin after it.
    const double lowest = ClampToRange(std::ceil(lowHz / spacing), 1.0, lastBin + 1.0);
    const double highest = ClampToRange(std::floor(highHz / spacing), -1.0, lastBin);
    return {static_cast<long>(lowest), static_cast<long>(highest)};
}
