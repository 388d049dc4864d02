#pragma once

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

// One track (or one preview range) in memory. Always two channels, interleaved
// left then right; a mono source is duplicated by the readers, so the number of
// values is even and the frame count is half of it.
struct AudioBuffer
{
    int sampleRate = 0;
    std::vector<double> samples;
    std::vector<MeterSeries> meterSeries;
    std::vector<StageMetric> stageMetrics;

    size_t FrameCount() const { return samples.size() / 2; }
};

// What a full or preview run returns: the processed audio at the internal rate.
struct ProcessResult
{
    AudioBuffer audio;
};
