#pragma once

// The one set of test signals, for the tests and the benchmarks alike.
//
// Arguments come in one order: frequency, sample rate, length, level, then
// phase or seed, each left out where a signal has none; a mono signal
// (std::vector<double>) is measured in samples, a stereo track (AudioBuffer,
// interleaved left then right) in seconds, rounded to the nearest frame.
// A seed gives the same values on every run, so a test may pin them.

#include "engine/audio_buffer.h"
#include "engine/dsp/oversampler.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <random>
#include <vector>

// Frames in `seconds` at `sampleRate`, rounded to the nearest frame.
inline std::size_t FramesIn(double seconds, int sampleRate)
{
    return static_cast<std::size_t>(std::llround(seconds * sampleRate));
}

// amplitude * sin(2 pi frequencyHz n / sampleRate + phaseRadians), n = 0 .. frames - 1.
inline std::vector<double> Sine(double frequencyHz, int sampleRate, std::size_t frames,
                                double amplitude, double phaseRadians = 0.0)
{
    std::vector<double> signal(frames);
    for (std::size_t i = 0; i < frames; ++i)
    {
        signal[i] = amplitude * std::sin(2.0 * std::numbers::pi * frequencyHz *
                                             static_cast<double>(i) / sampleRate +
                                         phaseRadians);
    }
    return signal;
}

// The same sine in both channels; amplitude is the linear peak.
inline AudioBuffer StereoSine(double frequencyHz, int sampleRate, double seconds, double amplitude)
{
    const std::vector<double> sine =
        Sine(frequencyHz, sampleRate, FramesIn(seconds, sampleRate), amplitude);
    return InterleaveStereo(sine, sine, sampleRate);
}

// A sine in the mid alone (L = R) or in the side alone (L = -R); amplitude is
// each channel's linear peak.
inline AudioBuffer MidOrSideSine(double frequencyHz, int sampleRate, double seconds,
                                 double amplitude, bool side)
{
    const std::vector<double> sine =
        Sine(frequencyHz, sampleRate, FramesIn(seconds, sampleRate), amplitude);
    std::vector<double> other = sine;
    if (side)
    {
        for (double& value : other)
        {
            value = -value;
        }
    }
    return InterleaveStereo(sine, other, sampleRate);
}

// Signals whose level is the same in every frame, for the static curves of
// level-driven processors: the stereo RMS level of the quadrature pair
// (left amplitude * cos, right amplitude * sin) is amplitude / sqrt(2) and its
// peak level varies; the square wave's peak and RMS levels are both its
// amplitude.
inline AudioBuffer QuadraturePair(double frequencyHz, int sampleRate, double seconds,
                                  double amplitude)
{
    const std::size_t frames = FramesIn(seconds, sampleRate);
    return InterleaveStereo(
        Sine(frequencyHz, sampleRate, frames, amplitude, 0.5 * std::numbers::pi),
        Sine(frequencyHz, sampleRate, frames, amplitude), sampleRate);
}

// The same square wave in both channels, +amplitude for the first half of each
// period and -amplitude for the second.
inline AudioBuffer StereoSquare(double frequencyHz, int sampleRate, double seconds,
                                double amplitude)
{
    const std::size_t frames = FramesIn(seconds, sampleRate);
    std::vector<double> square(frames);
    for (std::size_t i = 0; i < frames; ++i)
    {
        const double cycles = frequencyHz * static_cast<double>(i) / sampleRate;
        square[i] = cycles - std::floor(cycles) < 0.5 ? amplitude : -amplitude;
    }
    return InterleaveStereo(square, square, sampleRate);
}

// White noise, uniform in [-amplitude, amplitude]: its peak is known.
inline std::vector<double> Noise(std::size_t frames, double amplitude, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> uniform(-amplitude, amplitude);
    std::vector<double> signal(frames);
    for (double& value : signal)
    {
        value = uniform(random);
    }
    return signal;
}

// Independent white noise in each channel (drawn frame by frame, left first).
inline AudioBuffer StereoNoise(int sampleRate, double seconds, double amplitude, unsigned seed)
{
    AudioBuffer buffer;
    buffer.sampleRate = sampleRate;
    buffer.samples = Noise(2 * FramesIn(seconds, sampleRate), amplitude, seed);
    return buffer;
}

namespace signals_detail
{

// Pink noise into every `stride`-th value of `out` from `first` on: white
// noise through one-pole sections whose sum falls 3 dB per octave across the
// audio band, scaled to the given RMS. The white noise comes from `white`,
// which keeps its state from one call to the next.
inline void FillPinkNoise(std::mt19937& random, std::normal_distribution<double>& white, double rms,
                          std::vector<double>& out, std::size_t first, std::size_t stride)
{
    double b0 = 0, b1 = 0, b2 = 0, b3 = 0, b4 = 0, b5 = 0, b6 = 0;
    double sumSquares = 0.0;
    std::size_t count = 0;
    for (std::size_t i = first; i < out.size(); i += stride, ++count)
    {
        const double w = white(random);
        b0 = 0.99886 * b0 + w * 0.0555179;
        b1 = 0.99332 * b1 + w * 0.0750759;
        b2 = 0.96900 * b2 + w * 0.1538520;
        b3 = 0.86650 * b3 + w * 0.3104856;
        b4 = 0.55000 * b4 + w * 0.5329522;
        b5 = -0.7616 * b5 - w * 0.0168980;
        const double pink = b0 + b1 + b2 + b3 + b4 + b5 + b6 + w * 0.5362;
        b6 = w * 0.115926;
        out[i] = pink;
        sumSquares += pink * pink;
    }
    const double scale = rms / std::sqrt(sumSquares / static_cast<double>(count));
    for (std::size_t i = first; i < out.size(); i += stride)
    {
        out[i] *= scale;
    }
}

} // namespace signals_detail

// Pink noise (3 dB per octave) with the given RMS.
inline std::vector<double> PinkNoise(std::size_t frames, double rms, unsigned seed)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> white(0.0, 1.0);
    std::vector<double> signal(frames);
    signals_detail::FillPinkNoise(random, white, rms, signal, 0, 1);
    return signal;
}

// Independent pink noise in each channel, each with the given RMS.
inline AudioBuffer StereoPinkNoise(int sampleRate, double seconds, double rms, unsigned seed)
{
    AudioBuffer buffer;
    buffer.sampleRate = sampleRate;
    buffer.samples.resize(2 * FramesIn(seconds, sampleRate));
    std::mt19937 random(seed);
    std::normal_distribution<double> white(0.0, 1.0);
    signals_detail::FillPinkNoise(random, white, rms, buffer.samples, 0, 2);
    signals_detail::FillPinkNoise(random, white, rms, buffer.samples, 1, 2);
    return buffer;
}

// Correlated coloured stereo noise whose level swells and fades over a
// 70-second cycle, so that a long track has loud and quiet stretches to tell
// apart. Peaks stay well below full scale.
inline AudioBuffer SwellingNoise(int sampleRate, double seconds, unsigned seed)
{
    const std::size_t frames = FramesIn(seconds, sampleRate);
    std::mt19937 random(seed);
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

// The gain from input to output in dB (output energy over input energy),
// measured from skipFrames on, once a filter's or a processor's start-up has
// died away. With a sine of whole cycles over that stretch it is the gain at
// that frequency. The input must not be silent there.
inline double SteadyStateGainDb(const std::vector<double>& input, const std::vector<double>& output,
                                std::size_t skipFrames)
{
    double inputEnergy = 0.0;
    double outputEnergy = 0.0;
    for (std::size_t i = skipFrames; i < std::min(input.size(), output.size()); ++i)
    {
        inputEnergy += input[i] * input[i];
        outputEnergy += output[i] * output[i];
    }
    return 10.0 * std::log10(outputEnergy / inputEnergy);
}

// The same over both channels of stereo tracks.
inline double SteadyStateGainDb(const AudioBuffer& input, const AudioBuffer& output,
                                std::size_t skipFrames)
{
    return SteadyStateGainDb(input.samples, output.samples, 2 * skipFrames);
}

inline bool AllFinite(const std::vector<double>& values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

inline bool AllFinite(const AudioBuffer& buffer)
{
    return AllFinite(buffer.samples);
}
