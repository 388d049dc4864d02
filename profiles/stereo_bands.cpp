#include "profiles/stereo_bands.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr int kFallbackSampleRate = 44100;
// The logistic of side minus mid is centred 6 dB below the mid, 6 dB per e-fold.
constexpr double kWidthCentreDb = 6.0;
constexpr double kWidthSlopeDb = 6.0;

} // namespace

std::array<double, kStereoBandCount> StereoBandWidths(int sampleRate, int fftSize,
                                                      std::span<const double> midDb,
                                                      std::span<const double> sideDb)
{
    std::array<double, kStereoBandCount> widths{};
    const std::size_t n = std::min(midDb.size(), sideDb.size());
    if (n < 2)
        return widths;
    const double rate = sampleRate > 0 ? sampleRate : kFallbackSampleRate;
    const double size = fftSize > 0 ? static_cast<double>(fftSize)
                                    : std::max(2.0 * static_cast<double>(n) - 2.0, 2.0);
    for (std::size_t b = 0; b < kStereoBandCount; ++b)
    {
        const StereoBand& band = kStereoBands[b];
        double sum = 0.0;
        std::size_t count = 0;
        for (std::size_t j = 1; j < n; ++j)
        {
            const double frequencyHz = static_cast<double>(j) * rate / size;
            if (frequencyHz < band.fromHz || frequencyHz >= band.toHz)
                continue;
            const double differenceDb = sideDb[j] - midDb[j];
            const double width =
                1.0 / (1.0 + std::exp(-(differenceDb + kWidthCentreDb) / kWidthSlopeDb));
            if (std::isnan(width))
                continue;
            sum += width;
            ++count;
        }
        if (count > 0)
            widths[b] = std::clamp(sum / static_cast<double>(count), 0.0, 1.0);
    }
    return widths;
}
