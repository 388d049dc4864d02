#pragma once

#include "engine/audio_buffer.h"

#include <cmath>
#include <vector>

// Shared by the stage-4 limiters: the refusals every limiter makes before it
// looks at the audio, and the per-frame peak that steers their gain.

// Throws std::runtime_error for a ceiling that is not a positive number, an odd
// sample count, or a non-empty buffer at a rate of 0 or less.
void CheckLimiterInput(const AudioBuffer& buffer, double ceilingLinear);

// max(|left|, |right|) of the frame at `frame`; a frame holding a non-finite
// sample reads 0 so that it cannot spread into the gain of the frames around it.
inline double FramePeak(const double* interleaved, size_t frame)
{
    const double left = std::fabs(interleaved[2 * frame]);
    const double right = std::fabs(interleaved[2 * frame + 1]);
    if (!std::isfinite(left) || !std::isfinite(right))
    {
        return 0.0;
    }
    return left > right ? left : right;
}

// FramePeak of every frame.
std::vector<double> FramePeaks(const AudioBuffer& buffer);

// Largest |sample| of a run of interleaved values, non-finite values skipped.
double LargestMagnitude(const std::vector<double>& samples);
