#pragma once

#include "engine/audio_buffer.h"

#include <cstdint>
#include <vector>

// The overview of a track as the strip draws it: per column the loudest sample
// of each channel, 0..1. A track of any length gives at most kMaxPeakColumns
// columns, so the strip never holds a copy of the audio.
struct WaveformPeaks
{
    std::vector<float> peak;  // the larger of left and right
    std::vector<float> left;  // the largest |left sample|
    std::vector<float> right; // the largest |right sample|
    bool valid = false;       // computed from at least one frame

    bool HasColumns() const { return !peak.empty() || !left.empty() || !right.empty(); }
};

constexpr std::uint64_t kMaxPeakColumns = 2048;

// The frames column `column` of `columns` covers out of `frames`: from
// floor(i N / C) up to, not including, floor((i + 1) N / C), at least one frame
// and never past the last. The products are taken in 64 bits, so a track of
// billions of frames divides as exactly as a short one.
struct ColumnFrames
{
    std::uint64_t begin = 0;
    std::uint64_t end = 0;
};
ColumnFrames PeakColumnFrames(std::uint64_t column, std::uint64_t columns, std::uint64_t frames);

// One pass over the frames (an odd trailing sample belongs to none); a sample
// that is not finite counts as silence, and a peak above full scale is stored
// as full scale. No frames give no columns and an invalid record.
WaveformPeaks DecimatePeaks(const AudioBuffer& audio);

// The track's length in seconds as the strip takes it: 1 s when there are no
// frames or no usable rate.
double PeakTrackSeconds(const AudioBuffer& audio);
