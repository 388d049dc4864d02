#pragma once

// Material for transient processors, and the measures their tests read: drum
// hits out of silence, the peak and RMS level and the crest factor of a
// stretch of a stereo track.

#include "engine/audio_buffer.h"
#include "tests/support/signals.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <random>

// A drum-like hit: silenceSeconds of digital silence, then white noise,
// independent in each channel, that starts at `peak` and decays exponentially
// with the time constant decayMs, for hitSeconds.
inline AudioBuffer DecayingNoiseHit(int sampleRate, double silenceSeconds, double hitSeconds,
                                    double peak, double decayMs, unsigned seed)
{
    const std::size_t onset = FramesIn(silenceSeconds, sampleRate);
    const std::size_t frames = onset + FramesIn(hitSeconds, sampleRate);
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    AudioBuffer buffer;
    buffer.sampleRate = sampleRate;
    buffer.samples.assign(2 * frames, 0.0);
    for (std::size_t i = onset; i < frames; ++i)
    {
        const double seconds = static_cast<double>(i - onset) / sampleRate;
        const double envelope = peak * std::exp(-seconds / (0.001 * decayMs));
        buffer.samples[2 * i] = envelope * uniform(random);
        buffer.samples[2 * i + 1] = envelope * uniform(random);
    }
    return buffer;
}

// The largest magnitude over frames [from, to) of both channels.
inline double PeakBetween(const AudioBuffer& buffer, std::size_t from, std::size_t to)
{
    double peak = 0.0;
    for (std::size_t i = 2 * from; i < std::min(2 * to, buffer.samples.size()); ++i)
    {
        peak = std::max(peak, std::fabs(buffer.samples[i]));
    }
    return peak;
}

// The RMS level over frames [from, to) of both channels.
inline double RmsBetween(const AudioBuffer& buffer, std::size_t from, std::size_t to)
{
    double sum = 0.0;
    std::size_t count = 0;
    for (std::size_t i = 2 * from; i < std::min(2 * to, buffer.samples.size()); ++i, ++count)
    {
        sum += buffer.samples[i] * buffer.samples[i];
    }
    return count > 0 ? std::sqrt(sum / static_cast<double>(count)) : 0.0;
}

// The crest factor over frames [from, to): peak over RMS level.
inline double CrestFactorBetween(const AudioBuffer& buffer, std::size_t from, std::size_t to)
{
    return PeakBetween(buffer, from, to) / RmsBetween(buffer, from, to);
}
