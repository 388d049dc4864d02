#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

// Full scale of the PCM widths the writers produce: +1.0 maps to the largest
// positive code, -1.0 to the most negative one.
constexpr double kPcm16FullScale = 32768.0;
constexpr double kPcm24FullScale = 8388608.0;

// One sample as a PCM code at the given full scale: limited to [-1, 1] first
// (NaN counts as silence), rounded to the nearest code with ties to even, and
// kept inside [-fullScale, fullScale - 1].
inline int32_t QuantizePcm(double sample, double fullScale)
{
    if (std::isnan(sample))
    {
        return 0;
    }
    const double limited = std::clamp(sample, -1.0, 1.0);
    // nearbyint follows the default rounding mode, round-half-to-even.
    const double code = std::nearbyint(limited * fullScale);
    return static_cast<int32_t>(std::clamp(code, -fullScale, fullScale - 1.0));
}

// Appends frames of a mono or stereo interleaved source as stereo doubles; a
// mono sample is written to both channels.
template <typename Sample>
void AppendAsStereo(std::vector<double>& out, const Sample* source, size_t frames, int channels)
{
    const size_t start = out.size();
    out.resize(start + frames * 2);
    double* target = out.data() + start;
    if (channels == 1)
    {
        for (size_t frame = 0; frame < frames; ++frame)
        {
            const double value = static_cast<double>(source[frame]);
            target[2 * frame] = value;
            target[2 * frame + 1] = value;
        }
    }
    else
    {
        for (size_t i = 0; i < frames * 2; ++i)
        {
            target[i] = static_cast<double>(source[i]);
        }
    }
}
