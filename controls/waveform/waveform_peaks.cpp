#include "controls/waveform/waveform_peaks.h"

#include "controls/graphs/graph_feed.h"

#include <algorithm>
#include <cmath>

ColumnFrames PeakColumnFrames(std::uint64_t column, std::uint64_t columns, std::uint64_t frames)
{
    if (columns == 0 || frames == 0)
    {
        return {};
    }
    // i x N stays below 2^64 for any track a 64-bit address space can hold
    // (i < 2048), so the floor is exact.
    ColumnFrames range;
    range.begin = column * frames / columns;
    range.end = std::max((column + 1) * frames / columns, range.begin + 1);
    range.end = std::min(range.end, frames);
    return range;
}

WaveformPeaks DecimatePeaks(const AudioBuffer& audio)
{
    WaveformPeaks peaks;
    const std::uint64_t frames = audio.FrameCount();
    if (frames == 0)
    {
        return peaks;
    }
    const std::uint64_t columns = std::min(frames, kMaxPeakColumns);
    peaks.peak.resize(columns);
    peaks.left.resize(columns);
    peaks.right.resize(columns);
    const double* samples = audio.samples.data();
    for (std::uint64_t column = 0; column < columns; ++column)
    {
        const ColumnFrames range = PeakColumnFrames(column, columns, frames);
        double left = 0.0;
        double right = 0.0;
        for (std::uint64_t frame = range.begin; frame < range.end; ++frame)
        {
            left = std::max(left, std::fabs(Finite(samples[2 * frame])));
            right = std::max(right, std::fabs(Finite(samples[2 * frame + 1])));
        }
        left = std::min(left, 1.0);
        right = std::min(right, 1.0);
        peaks.left[column] = static_cast<float>(left);
        peaks.right[column] = static_cast<float>(right);
        peaks.peak[column] = static_cast<float>(std::max(left, right));
    }
    peaks.valid = true;
    return peaks;
}

double PeakTrackSeconds(const AudioBuffer& audio)
{
    const std::uint64_t frames = audio.FrameCount();
    if (frames == 0 || audio.sampleRate < 1)
    {
        return 1.0;
    }
    return static_cast<double>(frames) / audio.sampleRate;
}
