#pragma once

#include "engine/audio_buffer.h"
#include "tests/support/signals.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

// Test material the way limiters are tried out by ear and by meter: faded,
// bursting, noise-like music and sines close to Nyquist whose true peak falls
// between samples.

inline AudioBuffer StereoFromFunction(int sampleRate, size_t frames, auto leftRight)
{
    AudioBuffer buffer;
    buffer.sampleRate = sampleRate;
    buffer.samples.resize(2 * frames);
    for (size_t i = 0; i < frames; ++i)
    {
        const auto [left, right] = leftRight(i);
        buffer.samples[2 * i] = left;
        buffer.samples[2 * i + 1] = right;
    }
    return buffer;
}

// A 0..1..0 envelope: linear fade-in and fade-out of fadeFrames at the ends.
inline double FadeEnvelope(size_t i, size_t frames, size_t fadeFrames)
{
    const double in = static_cast<double>(i) / static_cast<double>(fadeFrames);
    const double out = static_cast<double>(frames - 1 - i) / static_cast<double>(fadeFrames);
    return std::min({1.0, in, out});
}

// Low-passed noise in bursts of random length and level (drum-like attacks with
// exponential decay), faded in and out, scaled so the loudest sample is peak.
inline AudioBuffer MusicLikeBursts(int sampleRate, double seconds, double peak, unsigned seed)
{
    const size_t frames = static_cast<size_t>(seconds * sampleRate);
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, 1.0);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    double envelope = 0.0;
    double decay = 0.9995;
    double lowLeft = 0.0;
    double lowRight = 0.0;
    AudioBuffer buffer = StereoFromFunction(
        sampleRate, frames,
        [&](size_t i)
        {
            if (unit(random) < 8.0 / sampleRate)
            {
                envelope = 0.3 + 0.7 * unit(random);
                decay = std::exp(-1.0 / (sampleRate * (0.02 + 0.3 * unit(random))));
            }
            envelope *= decay;
            const double common = noise(random);
            lowLeft = 0.6 * lowLeft + 0.4 * (common + 0.5 * noise(random));
            lowRight = 0.6 * lowRight + 0.4 * (common + 0.5 * noise(random));
            const double bed = 0.15;
            const double fade = FadeEnvelope(i, frames, frames / 8);
            return std::pair{(bed + envelope) * lowLeft * fade, (bed + envelope) * lowRight * fade};
        });
    double largest = 0.0;
    for (const double x : buffer.samples)
    {
        largest = std::max(largest, std::fabs(x));
    }
    for (double& x : buffer.samples)
    {
        x *= peak / largest;
    }
    return buffer;
}

// A faded sine whose peaks fall between samples: its sample peak understates
// its true peak, most of all close to Nyquist. The right channel is the left
// inverted.
inline AudioBuffer FadedSine(double frequencyHz, int sampleRate, double seconds, double amplitude)
{
    const size_t frames = static_cast<size_t>(seconds * sampleRate);
    const std::vector<double> sine =
        Sine(frequencyHz, sampleRate, frames, amplitude, 0.25 * std::numbers::pi);
    return StereoFromFunction(sampleRate, frames,
                              [&](size_t i)
                              {
                                  const double x = FadeEnvelope(i, frames, frames / 4) * sine[i];
                                  return std::pair{x, -x};
                              });
}

inline double SamplePeak(const AudioBuffer& buffer)
{
    double largest = 0.0;
    for (const double x : buffer.samples)
    {
        largest = std::max(largest, std::fabs(x));
    }
    return largest;
}

// The largest true peak of the two channels as a 4x-oversampling meter reads it.
inline double MeteredTruePeak(const AudioBuffer& buffer)
{
    ebur128_state* meter =
        ebur128_init(2, static_cast<unsigned long>(buffer.sampleRate), EBUR128_MODE_TRUE_PEAK);
    ebur128_add_frames_double(meter, buffer.samples.data(), buffer.FrameCount());
    double largest = 0.0;
    for (unsigned channel = 0; channel < 2; ++channel)
    {
        double peak = 0.0;
        ebur128_true_peak(meter, channel, &peak);
        largest = std::max(largest, peak);
    }
    ebur128_destroy(&meter);
    return largest;
}

inline double ToDb(double linear)
{
    return 20.0 * std::log10(std::max(linear, 1e-12));
}

// The text of the runtime error that call throws, or "(no error)".
inline std::string ErrorText(auto&& call)
{
    try
    {
        call();
    }
    catch (const std::runtime_error& error)
    {
        return error.what();
    }
    return "(no error)";
}
