#pragma once

#include "engine/audio_buffer.h"

#include <cstddef>
#include <span>
#include <vector>

// Integer-factor oversampling of interleaved stereo, so the stage-4 limiters
// can see and control the peaks that fall between samples. Linear phase and
// centred (no delay): zero-stuffing then a windowed-sinc low-pass on the way
// up, the same low-pass then keeping every factor-th sample on the way down.
// Whole buffers, no state between calls.

struct OversamplerConfig
{
    int factor = 1;            // >= 1
    int tapsPerPhase = 8;      // >= 4
    double cutoffRatio = 0.94; // in (0, 1]: fraction of the Nyquist frequency at the lower rate
};

class Oversampler
{
public:
    // Throws std::runtime_error, testing in this order:
    //   "Oversampler factor must be > 0", "Oversampler tapsPerPhase must be >= 4",
    //   "Oversampler cutoffRatio must be in (0,1]" (NaN included).
    explicit Oversampler(const OversamplerConfig& config);

    // factor times the rate and factor times the frames. Factor 1 returns an
    // exact copy; otherwise the meter series and stage metrics are not carried.
    // Throws "Oversampler requires interleaved stereo input" for an odd count and
    // "Oversampler output sample rate is out of range" when factor * rate does
    // not fit the rate's integer.
    AudioBuffer Upsample(const AudioBuffer& input) const;

    // The rate of Upsample(input), refusing the buffer as Upsample does (odd
    // count, then a rate out of range) without converting anything.
    int UpsampledRate(const AudioBuffer& input) const;

    // The oversampled frames factor * begin .. factor * end (end clipped to the
    // input) of Upsample(input), interleaved into output, which is resized to
    // hold them: the very values of the whole upsampled buffer, made without it.
    // Throws "Oversampler requires interleaved stereo input" for an odd count.
    void UpsampleRange(const AudioBuffer& input, std::size_t begin, std::size_t end,
                       std::vector<double>& output) const;

    // ceil(frames / factor) frames at outputRate. Factor 1 returns a copy with
    // only the rate replaced. Throws "Oversampler requires interleaved stereo
    // input" for an odd count, then "Oversampler output sample rate must be > 0".
    AudioBuffer Downsample(const AudioBuffer& input, int outputRate) const;

    // Output frames [from, to) of Downsample of an interleaved stereo signal of
    // `frames` frames, of which only the frames from windowFirst on are at hand
    // in window: enough are those within factor * tapsPerPhase of factor * from
    // .. factor * (to - 1), read mirrored at the signal's ends, so a long signal
    // can be brought down piece by piece as it is made. Writes 2 * (to - from)
    // values to output: the very values of the whole signal's Downsample.
    void DownsampleRange(std::span<const double> window, std::size_t windowFirst,
                         std::size_t frames, std::size_t from, std::size_t to,
                         double* output) const;

    // One channel: zero-stuff and filter with UpTaps(); filter with DownTaps()
    // and keep samples 0, factor, 2*factor, ... Factor 1 or empty input: a copy.
    std::vector<double> UpsampleChannel(const std::vector<double>& channel) const;
    std::vector<double> DownsampleChannel(const std::vector<double>& channel) const;

    const OversamplerConfig& Config() const { return m_config; }
    // The low-pass, summing to 1, and the same times factor (which restores
    // the level that zero-stuffing takes away). 2 * factor * tapsPerPhase + 1 taps.
    const std::vector<double>& DownTaps() const { return m_downTaps; }
    const std::vector<double>& UpTaps() const { return m_upTaps; }

private:
    OversamplerConfig m_config;
    std::vector<double> m_downTaps;
    std::vector<double> m_upTaps;
};

// Blackman-windowed sinc low-pass with 2 * factor * tapsPerPhase + 1 taps, cutoff
// cutoffRatio (clamped to [1e-6, 1]) of the lower rate's Nyquist frequency,
// normalised to unity gain at DC. Refuses the arguments the Oversampler
// constructor refuses, with its texts, and throws "Oversampler lowpass design
// failed" when the taps sum to nothing.
std::vector<double> DesignOversamplerLowpass(int factor, int tapsPerPhase, double cutoffRatio);

// Whether upsampling by 2, 4 or 8 adds each product in one rounding (fused
// multiply-add) where the processor can (on by default): every value then
// lies within rounding of the plain sum of the taps, not on it. Turning it off
// stands in for a processor without it, whose values are the plain sums.
void SetOversamplerFusedArithmetic(bool fused);

// Centred FIR filtering (odd tap count, no delay) over the whole signal; at
// both ends the signal is mirrored about the half sample (sample -1 reads
// sample 0, sample n reads sample n - 1), repeatedly for short signals, so a
// constant stays constant. Empty signal or taps: a copy of the signal.
std::vector<double> FilterSymmetric(const std::vector<double>& signal,
                                    const std::vector<double>& taps);

// left[0], right[0], left[1], ... at sampleRate. Throws "Oversampler channel
// size mismatch" for channels of different length.
AudioBuffer InterleaveStereo(const std::vector<double>& left, const std::vector<double>& right,
                             int sampleRate);
