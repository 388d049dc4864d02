#pragma once

#include "engine/audio_buffer.h"

#include <array>
#include <cstddef>
#include <span>
#include <vector>

// Loudness of a stereo track after ITU-R BS.1770: K-weighted 400 ms blocks, an
// absolute gate at -70 LUFS and a relative gate 10 LU below, plus a short-term
// distribution (3 s blocks every second) and a loudness range computed from it.
struct LoudnessStats
{
    bool hasIntegratedLufs = false;
    double integratedLufs = 0.0; // 0 when not measured
    bool hasShortTermDistribution = false;
    // 10th, 25th, 50th, 75th and 90th percentile of the gated short-term loudness;
    // all 0 when the distribution is not valid.
    std::array<double, 5> shortTermLufsPercentiles = {};
    double loudnessRange = 0.0; // LU; 0 when not computed
};

// Never throws on audio content: too short, silent or non-finite input gives a
// record with both flags false and every number 0.
LoudnessStats MeasureLoudness(const AudioBuffer& buffer);

// 20 log10 of the largest absolute sample of both channels; -infinity for an empty
// or all-zero buffer.
double SamplePeakDb(const AudioBuffer& buffer);

// n + 1 running sums of squares: sums[0] = 0, sums[i + 1] = sums[i] + x[i]^2.
std::vector<double> CumulativeSquares(std::span<const double> samples);

// Weighted mean square of both channels for each block of blockFrames frames,
// starting every hopFrames frames while the block lies inside frameCount frames.
// Each block costs O(1) from the running sums. A block or hop of 0 gives no blocks.
std::vector<double> BlockMeanSquares(std::span<const double> leftSums,
                                     std::span<const double> rightSums,
                                     std::array<double, 2> channelWeights, size_t frameCount,
                                     size_t blockFrames, size_t hopFrames);

// Linear interpolation between the two ranks around p (0..1, clamped) of an
// ascending list; 0 for an empty list.
double InterpolatedPercentile(std::span<const double> sortedValues, double p);
