#pragma once

#include "engine/audio_buffer.h"

// The look-ahead limiter of stage 4: it runs on an oversampled copy with a soft
// knee and returns a new buffer at the input's rate and frame count. Besides
// stage 4, the loudness normaliser and the true-peak guard use it.
struct LookaheadLimiter
{
    double ceiling = 1.0;     // linear amplitude, 1.0 = full scale
    int oversampleFactor = 1; // 1, 2 or 4
    double strength = 1.0;    // share of the limiting applied, as LimiterShare reads it

    AudioBuffer Process(const AudioBuffer& input) const;
};
