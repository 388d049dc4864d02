#pragma once

// What a processor does to a band of noise or to one tone, read over a stretch
// of the track away from its ends (where a frame-based processor sees frames
// reaching into silence).

#include "engine/audio_buffer.h"
#include "engine/dsp/fft.h"
#include "tests/support/tone_level.h"

#include <span>

#include <cmath>
#include <complex>
#include <cstddef>
#include <numbers>
#include <vector>

// The energy between two frequencies, read from one long Hann-windowed
// transform of values[from, from + length) (length a power of two) between
// lowHz and highHz, interleaved channels read with `stride`.
inline double BandEnergy(const std::vector<double>& values, std::size_t from, std::size_t length,
                         int sampleRate, double lowHz, double highHz, std::size_t stride = 1)
{
    std::vector<std::complex<double>> spectrum(length);
    for (std::size_t n = 0; n < length; ++n)
    {
        const double window =
            0.5 * (1.0 - std::cos(2.0 * std::numbers::pi * static_cast<double>(n) / length));
        spectrum[n] = {values[(from + n) * stride] * window, 0.0};
    }
    Fft(spectrum, false);
    double energy = 0.0;
    const double spacing = static_cast<double>(sampleRate) / static_cast<double>(length);
    for (std::size_t k = 1; k < length / 2; ++k)
    {
        const double frequency = static_cast<double>(k) * spacing;
        if (frequency >= lowHz && frequency <= highHz)
        {
            energy += std::norm(spectrum[k]);
        }
    }
    return energy;
}

// The gain in dB of the band from input to output.
inline double BandGainDb(const std::vector<double>& input, const std::vector<double>& output,
                         std::size_t from, std::size_t length, int sampleRate, double lowHz,
                         double highHz, std::size_t stride = 1)
{
    return 10.0 * std::log10(BandEnergy(output, from, length, sampleRate, lowHz, highHz, stride) /
                             BandEnergy(input, from, length, sampleRate, lowHz, highHz, stride));
}

// The gain in dB at frequencyHz from input to output in one channel of two
// interleaved tracks, over the frames [fromFrame, endFrame).
inline double ToneGainDbBetween(const AudioBuffer& input, const AudioBuffer& output,
                                double frequencyHz, std::size_t fromFrame, std::size_t endFrame,
                                std::size_t channel)
{
    const auto stretch = [&](const AudioBuffer& buffer)
    {
        const double amplitude =
            GoertzelAmplitude(std::span<const double>(buffer.samples).first(2 * endFrame),
                              frequencyHz, input.sampleRate, 2 * fromFrame + channel, 2);
        return amplitude;
    };
    return 20.0 * std::log10(stretch(output) / stretch(input));
}
