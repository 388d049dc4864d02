#pragma once

#include "engine/audio_buffer.h"
#include "engine/dsp/oversampler.h"

#include <algorithm>
#include <cmath>
#include <vector>

// Shared by the stage-4 limiters: the refusals every limiter makes before it
// looks at the audio, and the per-frame peak that steers their gain.

// Throws std::runtime_error for a ceiling that is not a positive number, an odd
// sample count, or a non-empty buffer at a rate of 0 or less.
void CheckLimiterInput(const AudioBuffer& buffer, double ceilingLinear);

// The share of the limiting that a strength asks for: above 1 counts as 1, and
// 0 or less or NaN is 0, where a limiter changes nothing.
inline double LimiterShare(double strength)
{
    return strength > 0.0 ? std::min(strength, 1.0) : 0.0;
}

// max(|left|, |right|) of the frame at `frame`; a frame holding a non-finite
// sample reads 0 so that it cannot spread into the gain of the frames around it.
inline double FramePeak(const double* interleaved, size_t frame)
{
    const double left = std::fabs(interleaved[2 * frame]);
    const double right = std::fabs(interleaved[2 * frame + 1]);
    if (!std::isfinite(left) || !std::isfinite(right))
    {
        return 0.0;
    }
    return left > right ? left : right;
}

// True when some frame's FramePeak exceeds the ceiling.
bool AnyFrameOver(const AudioBuffer& buffer, double ceilingLinear);

// FramePeak of every frame.
std::vector<double> FramePeaks(const AudioBuffer& buffer);

// Largest |sample| of a run of interleaved values, non-finite values skipped.
double LargestMagnitude(const std::vector<double>& samples);

// The true-peak estimate of a buffer: the largest |sample| of the buffer as
// `oversampler` upsamples it. It is taken block by block, each block upsampled
// with enough neighbouring frames that its samples are those of the whole
// buffer upsampled at once, so no oversampled copy of the whole track is made
// and a caller can re-measure only the blocks it needs.
// Short blocks (about 10 ms at 48 kHz), so that the quiet stretches between
// loud ones are ruled out by their bound instead of being upsampled.
constexpr size_t kPeakBlockFrames = 1 << 9;

size_t PeakBlockCount(const AudioBuffer& buffer);

// The estimate over frames [block * kPeakBlockFrames, ...) of the buffer.
double OversampledBlockPeak(const AudioBuffer& buffer, const Oversampler& oversampler,
                            size_t block);

// The estimate of every block, except that a block which provably cannot hold
// the buffer's largest estimate (its input peak times the filter's largest
// phase gain stays under an estimate already found) gets that bound instead
// of being upsampled. The largest value is the buffer's estimate exactly; every
// value is at least its block's estimate.
std::vector<double> OversampledBlockPeakBounds(const AudioBuffer& buffer,
                                               const Oversampler& oversampler);

// AnyFrameOver of `oversampler.Upsample(buffer)`, found block by block without
// the oversampled copy; blocks whose input bound stays within the ceiling are
// not upsampled at all.
bool AnyOversampledFrameOver(const AudioBuffer& buffer, const Oversampler& oversampler,
                             double ceilingLinear);
