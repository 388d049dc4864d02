#pragma once

// Tone bursts and an independent meter shared by the loudness tests; the
// plain signals come from tests/support/signals.h.

#include "engine/audio_buffer.h"
#include "engine/loudness/k_weighting.h"
#include "tests/support/signals.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <stdexcept>
#include <vector>

namespace loudness_fixtures
{

// A tone that alternates between two peak levels (dBFS) in segments of the
// given length, starting with the first level.
inline AudioBuffer ToneBursts(double frequencyHz, int sampleRate, double firstDbfs,
                              double secondDbfs, double segmentSeconds, int segments)
{
    AudioBuffer buffer = StereoSine(frequencyHz, sampleRate, segmentSeconds * segments, 1.0);
    const size_t segmentFrames = FramesIn(segmentSeconds, sampleRate);
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
