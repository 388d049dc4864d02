#pragma once

// Harmonic levels of a processed sine, for the tests of the saturators.

#include "engine/audio_buffer.h"
#include "tests/support/tone_level.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

// The level in dB of the n-th harmonic of fundamentalHz against the
// fundamental itself, in one channel of an interleaved track, from frame
// fromFrame on. A sine of whole cycles over that stretch reads its harmonics
// exactly; -300 dB stands for none at all.
inline double HarmonicDb(const AudioBuffer& track, double fundamentalHz, int harmonic,
                         std::size_t fromFrame = 0, std::size_t channel = 0)
{
    const std::size_t from = 2 * fromFrame + channel;
    const double fundamental =
        GoertzelAmplitude(track.samples, fundamentalHz, track.sampleRate, from, 2);
    const double overtone =
        GoertzelAmplitude(track.samples, harmonic * fundamentalHz, track.sampleRate, from, 2);
    return 20.0 * std::log10(std::max(overtone, 1e-15 * fundamental) / fundamental);
}
