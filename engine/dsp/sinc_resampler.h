#pragma once

#include "engine/audio_buffer.h"

#include <span>
#include <vector>

// Sample-rate conversion of interleaved stereo by band-limited interpolation
// with one fixed Kaiser-windowed sinc table. Whole signals in one call; no
// streaming state. The runs use it to bring tracks to the internal rate and the
// export to bring the result to the chosen output rate.

// Entries in the coefficient table, and entries per input-sample period.
inline constexpr int kSincTableSize = 340239;
inline constexpr int kSincIndexIncrement = 2381;

// The right half of the low-pass, sampled at kSincIndexIncrement entries per
// input sample: entry k = c*sinc(c*k/2381)*w(k) rounded to float, with the
// cutoff c = 0.9657284 of the input Nyquist frequency and w a Kaiser window
// (beta 16.05) reaching its end at the last entry, which is exactly 0.
// Built once, on first use, and shared read-only by every thread.
std::span<const float> SincCoefficients();

class SincResampler
{
public:
    SincResampler();

    // Converts interleaved stereo samples from inRate to outRate (Hz) and
    // returns floor(frames * outRate / inRate) frames (at least one), each
    // value rounded through float. Output frame i sits at input position
    // i * inRate / outRate (no delay); beyond both ends the input counts as
    // silence. Downsampling stretches the kernel so the cutoff falls to the same
    // fraction of the output's Nyquist frequency, with unity gain kept. The
    // input is never changed; NaN in it spreads to the output frames whose
    // kernel covers it. A result too large for memory throws std::bad_alloc.
    // Throws std::runtime_error:
    //   "SincResampler sample rates must be > 0" for a rate below 1 (tested first);
    //   "SincResampler input size must be divisible by channels" for an odd count;
    //   "SincResampler sample rate ratio is out of range" when the output rate is
    //   so far below the input rate that the kernel step rounds to nothing.
    // Empty input gives empty output.
    std::vector<double> Process(const std::vector<double>& interleaved, int inRate,
                                int outRate) const;

    int HalfLength() const { return m_halfLength; }
    int IndexIncrement() const { return m_indexIncrement; }

private:
    std::span<const float> m_coefficients;
    int m_halfLength;     // coefficient steps the kernel may use (table size - 2)
    int m_indexIncrement; // table entries per input-sample period
};

// The buffer converted to targetRate. The same rate gives an exact copy (meter
// series and stage metrics included); otherwise the result carries only the
// converted samples. Throws "Audio too short for resampling" for fewer than two
// frames, and whatever SincResampler::Process throws.
AudioBuffer ResampleAudio(const AudioBuffer& buffer, int targetRate);
