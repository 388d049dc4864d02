#pragma once

#include <cstddef>

// The bins a spectral add-on works on, from its low and high cut-offs: bin k
// lies at k * fs / N Hz. The lowest bin is at least 1, so the DC bin is never
// inside; the highest at most N / 2, so a cut-off above half the rate stops at
// the last bin. A band whose lowest bin lies above its highest holds no bin.
struct SpectralBand
{
    long lowest;
    long highest;

    bool Contains(std::size_t bin) const
    {
        const long k = static_cast<long>(bin);
        return lowest <= k && k <= highest;
    }
};

// lowest = ceil(low / (fs / N)), highest = floor(high / (fs / N)), each held
// to the bins there are before it is made an integer.
SpectralBand SpectralBandLimits(double lowHz, double highHz, double sampleRate,
                                std::size_t frameLength);
