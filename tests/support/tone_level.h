#pragma once

// The level of one frequency in a signal, by a Goertzel filter: what a filter
// does to a sine is read at that sine's frequency alone, so start-up residue
// and harmonics at other frequencies do not count.

#include "engine/audio_buffer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <span>
#include <vector>

// The amplitude of the component at frequencyHz in values[from, end), spaced
// `stride` apart (2 reads one channel of an interleaved track). Exact for a
// sine of whole cycles over the stretch; close for a long stretch otherwise.
inline double GoertzelAmplitude(std::span<const double> values, double frequencyHz, int sampleRate,
                                std::size_t from = 0, std::size_t stride = 1)
{
    const double w = 2.0 * std::numbers::pi * frequencyHz / sampleRate;
    const double coefficient = 2.0 * std::cos(w);
    double s1 = 0.0;
    double s2 = 0.0;
    std::size_t count = 0;
    for (std::size_t i = from; i < values.size(); i += stride)
    {
        const double s0 = values[i] + coefficient * s1 - s2;
        s2 = s1;
        s1 = s0;
        ++count;
    }
    const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
    return count > 0 ? 2.0 * std::sqrt(std::max(power, 0.0)) / static_cast<double>(count) : 0.0;
}

// The gain in dB at frequencyHz from input to output, in the left channel of
// two interleaved tracks, from frame fromFrame on.
inline double ToneGainDb(const AudioBuffer& input, const AudioBuffer& output, double frequencyHz,
                         std::size_t fromFrame, std::size_t channel = 0)
{
    const double in =
        GoertzelAmplitude(input.samples, frequencyHz, input.sampleRate, 2 * fromFrame + channel, 2);
    const double out = GoertzelAmplitude(output.samples, frequencyHz, input.sampleRate,
                                         2 * fromFrame + channel, 2);
    return 20.0 * std::log10(out / in);
}
