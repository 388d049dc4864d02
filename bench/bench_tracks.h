#pragma once

// Tracks shared by the whole-track benchmarks.

#include "engine/audio_buffer.h"

#include <cmath>
#include <cstddef>
#include <numbers>
#include <random>

// Minutes of correlated coloured stereo noise whose level swells and fades
// over a 70-second cycle, so that the piece selection has loud and quiet
// pieces to tell apart. Peaks stay well below full scale.
inline AudioBuffer MakeSwellingNoiseTrack(int sampleRate, double minutes)
{
    const std::size_t frames = static_cast<std::size_t>(minutes * 60.0 * sampleRate);
    std::mt19937 random(11);
    std::normal_distribution<double> normal(0.0, 0.1);
    AudioBuffer track;
    track.sampleRate = sampleRate;
    track.samples.resize(2 * frames);
    double left = 0.0;
    double right = 0.0;
    for (std::size_t i = 0; i < frames; ++i)
    {
        const double envelope =
            0.6 + 0.4 * std::sin(2.0 * std::numbers::pi * i / (70.0 * sampleRate));
        const double common = normal(random);
        left = 0.7 * left + common + 0.3 * normal(random);
        right = 0.7 * right + common + 0.3 * normal(random);
        track.samples[2 * i] = envelope * left;
        track.samples[2 * i + 1] = envelope * right;
    }
    return track;
}
