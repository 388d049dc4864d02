#include "engine/runs/run_metrics.h"

#include "engine/decibels.h"

#include <algorithm>
#include <cmath>

namespace
{

// Levels below this count as silence in the metrics (-180 dB), so a silent
// stage reads a large finite number rather than -infinity.
constexpr double kMetricFloor = 1e-9;

// Peaks below this are treated as silence in the series: nothing to reduce.
constexpr double kSeriesFloor = 1e-12;

double LevelRatioDb(double numerator, double denominator)
{
    return 20.0 *
           std::log10(std::max(numerator, kMetricFloor) / std::max(denominator, kMetricFloor));
}

// The largest absolute value of either channel over frames [first, last).
// Four running maxima keep each comparison from waiting for the one before,
// so the pass runs at the speed of the loads; a NaN never wins a comparison.
double FramePeak(const std::vector<double>& samples, std::size_t first, std::size_t last)
{
    constexpr std::size_t kLanes = 4;
    double lanes[kLanes] = {};
    std::size_t i = 2 * first;
    const std::size_t end = 2 * last;
    for (; i + kLanes <= end; i += kLanes)
    {
        for (std::size_t lane = 0; lane < kLanes; ++lane)
        {
            const double magnitude = std::fabs(samples[i + lane]);
            lanes[lane] = magnitude > lanes[lane] ? magnitude : lanes[lane];
        }
    }
    for (; i < end; ++i)
    {
        const double magnitude = std::fabs(samples[i]);
        lanes[0] = magnitude > lanes[0] ? magnitude : lanes[0];
    }
    return std::max(std::max(lanes[0], lanes[1]), std::max(lanes[2], lanes[3]));
}

} // namespace

double BufferPeak(const AudioBuffer& buffer)
{
    return FramePeak(buffer.samples, 0, buffer.FrameCount());
}

std::vector<StageMetric> BuildStage1Metrics(double targetRms, double referenceRms)
{
    return {
        {"stage1.target_match_rms", targetRms},
        {"stage1.reference_match_rms", referenceRms},
        {"stage1.match_delta_db", LevelRatioDb(targetRms, referenceRms)},
    };
}

std::vector<StageMetric> BuildStage2Metrics(const ToneMatchResult& tone)
{
    return {
        {"stage2.spectral_distance_db", tone.spectralDistanceDb},
        {"stage2.adaptive_confidence", tone.confidence},
        {"stage2.applied_strength", tone.appliedStrength},
    };
}

void BuildStage3Metrics(std::vector<StageMetric>& metrics, const DynamicsMetrics& dynamics)
{
    metrics.push_back({"stage3.mid_band_gain", dynamics.midGainDb});
    metrics.push_back({"stage3.min_macro_gain_db", dynamics.minGainDb});
    metrics.push_back({"stage3.mean_macro_gain_db", dynamics.meanGainDb});
    metrics.push_back({"stage3.max_macro_gain_db", dynamics.maxGainDb});
    metrics.push_back({"stage3.current_loudness_range", dynamics.currentLoudnessRange});
    metrics.push_back({"stage3.reference_loudness_range", dynamics.referenceLoudnessRange});
}

void BuildStage4Metrics(std::vector<StageMetric>& metrics, double ceiling, double loudnessGainDb,
                        const AudioBuffer& limiterInput, const AudioBuffer& limiterOutput)
{
    const double inputPeak = BufferPeak(limiterInput);
    const double outputPeak = BufferPeak(limiterOutput);
    metrics.push_back({"stage4.effective_ceiling", ceiling});
    metrics.push_back({"stage4.loudness_gain_db", loudnessGainDb});
    metrics.push_back({"stage4.peak_reduction_db", LevelRatioDb(inputPeak, outputPeak)});
    metrics.push_back({"stage4.final_peak", GainToDb(outputPeak, kMetricFloor)});
}

MeterSeries BuildGainReductionSeries(const std::string& key, const AudioBuffer& before,
                                     const AudioBuffer& after, double rate)
{
    MeterSeries series;
    series.key = key;
    series.rate = rate;

    const std::size_t frames = std::min(before.FrameCount(), after.FrameCount());
    if (before.sampleRate <= 0 || before.sampleRate != after.sampleRate || frames == 0 ||
        !(rate > 0.0))
    {
        return series;
    }

    // Limited to the buffer before rounding, so a tiny rate gives one block
    // instead of a hop too large for an integer.
    const double hopFrames = std::clamp(before.sampleRate / rate, 1.0, static_cast<double>(frames));
    const std::size_t hop = std::max<long long>(std::llrint(hopFrames), 1);
    const std::size_t blocks = (frames + hop - 1) / hop;
    series.values.reserve(blocks);
    for (std::size_t block = 0; block < blocks; ++block)
    {
        const std::size_t first = block * hop;
        const std::size_t last = std::min(first + hop, frames);
        const double peakBefore = FramePeak(before.samples, first, last);
        const double peakAfter = FramePeak(after.samples, first, last);
        double reductionDb = 0.0;
        // A block where the processing raised the peak reads 0, never a boost.
        if (peakBefore > kSeriesFloor && peakAfter < peakBefore)
        {
            reductionDb =
                std::max(0.0, 20.0 * std::log10(peakBefore / std::max(peakAfter, kSeriesFloor)));
        }
        series.values.push_back(static_cast<float>(reductionDb));
    }
    return series;
}

MeterSeries BuildDynamicsGainReductionSeries(const AudioBuffer& before, const AudioBuffer& after,
                                             double rate)
{
    return BuildGainReductionSeries(kDynamicsGainReductionKey, before, after, rate);
}

MeterSeries BuildStage4GainReductionSeries(const AudioBuffer& limiterInput,
                                           const AudioBuffer& limiterOutput, double rate)
{
    return BuildGainReductionSeries(kStage4GainReductionKey, limiterInput, limiterOutput, rate);
}
