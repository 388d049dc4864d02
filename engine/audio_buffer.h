#pragma once

#include <cstddef>
#include <string>
#include <vector>

// A named time series that a run attaches to its output: value i describes the
// audio at i / rate seconds from the start of the buffer.
struct MeterSeries
{
    std::string key;
    double rate = 0.0;
    std::vector<float> values;
};

// A single number measured by a run, in the unit its dotted key names.
struct StageMetric
{
    std::string key;
    double value = 0.0;
};

// How long a file's header says its audio is, against how much of it its reader
// found: a recorder that stopped mid-write leaves a header promising more. Both
// in frames; zero when the format states no length.
struct SourceLength
{
    size_t declaredFrames = 0;
    size_t readFrames = 0;

    bool IsShort() const { return readFrames < declaredFrames; }
};

// One track (or one preview range) in memory. Always two channels, interleaved
// left then right; a mono source is duplicated by the readers, so the number of
// values is even and the frame count is half of it.
struct AudioBuffer
{
    int sampleRate = 0;
    std::vector<double> samples;
    std::vector<MeterSeries> meterSeries;
    std::vector<StageMetric> stageMetrics;
    SourceLength sourceLength; // set by the readers only

    size_t FrameCount() const { return samples.size() / 2; }
};

// What a full or preview run returns: the processed audio at the internal rate.
struct ProcessResult
{
    AudioBuffer audio;
};
