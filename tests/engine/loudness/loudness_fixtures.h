#pragma once

// Signals and an independent meter shared by the loudness tests.

#include "engine/audio_buffer.h"
#include "engine/loudness/k_weighting.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <stdexcept>
#include <vector>

namespace loudness_fixtures
{

// The same sine in both channels; amplitude is the linear peak.
inline AudioBuffer StereoSine(int sampleRate, double seconds, double frequencyHz, double amplitude)
{
    AudioBuffer buffer;
    buffer.sampleRate = sampleRate;
    const size_t frames = static_cast<size_t>(std::llround(seconds * sampleRate));
    buffer.samples.resize(2 * frames);
    for (size_t i = 0; i < frames; ++i)
    {
        const double value = amplitude * std::sin(2.0 * std::numbers::pi * frequencyHz *
                                                  static_cast<double>(i) / sampleRate);
        buffer.samples[2 * i] = value;
        buffer.samples[2 * i + 1] = value;
    }
    return buffer;
}

// Independent pink noise in each channel (white noise through a set of
// one-pole sections whose sum falls 3 dB per octave across the audio band),
// scaled so that each channel has the given RMS.
inline AudioBuffer StereoPinkNoise(int sampleRate, double seconds, double rms, unsigned seed)
{
    AudioBuffer buffer;
    buffer.sampleRate = sampleRate;
    const size_t frames = static_cast<size_t>(std::llround(seconds * sampleRate));
    buffer.samples.resize(2 * frames);
    std::mt19937 random(seed);
    std::normal_distribution<double> white(0.0, 1.0);
    for (size_t channel = 0; channel < 2; ++channel)
    {
        double b0 = 0, b1 = 0, b2 = 0, b3 = 0, b4 = 0, b5 = 0, b6 = 0;
        double sumSquares = 0.0;
        for (size_t i = 0; i < frames; ++i)
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
            buffer.samples[2 * i + channel] = pink;
            sumSquares += pink * pink;
        }
        const double scale = rms / std::sqrt(sumSquares / static_cast<double>(frames));
        for (size_t i = 0; i < frames; ++i)
        {
            buffer.samples[2 * i + channel] *= scale;
        }
    }
    return buffer;
}

// A tone that alternates between two peak levels (dBFS) in segments of the
// given length, starting with the first level.
inline AudioBuffer ToneBursts(int sampleRate, double frequencyHz, double firstDbfs,
                              double secondDbfs, double segmentSeconds, int segments)
{
    AudioBuffer buffer = StereoSine(sampleRate, segmentSeconds * segments, frequencyHz, 1.0);
    const size_t segmentFrames = static_cast<size_t>(std::llround(segmentSeconds * sampleRate));
    for (size_t i = 0; i < buffer.FrameCount(); ++i)
    {
        const bool first = (i / segmentFrames) % 2 == 0;
        const double gain = std::pow(10.0, (first ? firstDbfs : secondDbfs) / 20.0);
        buffer.samples[2 * i] *= gain;
        buffer.samples[2 * i + 1] *= gain;
    }
    return buffer;
}

// Power gain of one biquad at a frequency, from its transfer function.
inline double BiquadPowerGain(const BiquadCoefficients& c, double frequencyHz, double sampleRate)
{
    const std::complex<double> z1 =
        std::polar(1.0, -2.0 * std::numbers::pi * frequencyHz / sampleRate);
    const std::complex<double> z2 = z1 * z1;
    return std::norm((c.b0 + c.b1 * z1 + c.b2 * z2) / (1.0 + c.a1 * z1 + c.a2 * z2));
}

// The 48 kHz K-weighting table printed in BS.1770, which a standard meter uses.
inline constexpr BiquadCoefficients kStandardShelf48k = {
    1.53512485958697, -2.69169618940638, 1.19839281085285, -1.69065929318241, 0.73248077421585};
inline constexpr BiquadCoefficients kStandardHighPass48k = {1.0, -2.0, 1.0, -1.99004745483398,
                                                            0.99007225036621};

// Power gain of the system's K-weighting over the standard one at a frequency
// (48 kHz), in dB: how much louder a tone reads on our meter.
inline double KWeightDifferenceDb(double frequencyHz)
{
    const double ours = BiquadPowerGain(KWeightShelfCoefficients(48000), frequencyHz, 48000) *
                        BiquadPowerGain(KWeightHighPassCoefficients(48000), frequencyHz, 48000);
    const double standard = BiquadPowerGain(kStandardShelf48k, frequencyHz, 48000) *
                            BiquadPowerGain(kStandardHighPass48k, frequencyHz, 48000);
    return 10.0 * std::log10(ours / standard);
}

// libebur128's reading of a buffer: the reference meter the tests compare with.
struct OracleReading
{
    double integratedLufs = 0.0;
    double loudnessRange = 0.0;
    double truePeakDbtp = 0.0; // largest of both channels
};

inline OracleReading MeasureWithOracle(const AudioBuffer& buffer)
{
    ebur128_state* state = ebur128_init(2, static_cast<unsigned long>(buffer.sampleRate),
                                        EBUR128_MODE_I | EBUR128_MODE_LRA | EBUR128_MODE_TRUE_PEAK);
    if (state == nullptr)
    {
        throw std::runtime_error("libebur128 could not start");
    }
    OracleReading reading;
    double peak0 = 0.0, peak1 = 0.0;
    const bool ok = ebur128_add_frames_double(state, buffer.samples.data(), buffer.FrameCount()) ==
                        EBUR128_SUCCESS &&
                    ebur128_loudness_global(state, &reading.integratedLufs) == EBUR128_SUCCESS &&
                    ebur128_loudness_range(state, &reading.loudnessRange) == EBUR128_SUCCESS &&
                    ebur128_true_peak(state, 0, &peak0) == EBUR128_SUCCESS &&
                    ebur128_true_peak(state, 1, &peak1) == EBUR128_SUCCESS;
    ebur128_destroy(&state);
    if (!ok)
    {
        throw std::runtime_error("libebur128 failed to measure");
    }
    reading.truePeakDbtp = 20.0 * std::log10(std::max(peak0, peak1));
    return reading;
}

} // namespace loudness_fixtures
