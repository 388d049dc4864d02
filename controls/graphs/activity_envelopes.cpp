#include "controls/graphs/activity_envelopes.h"

#include "controls/graphs/graph_feed.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace
{

constexpr double kAttack = 0.55;
constexpr double kRelease = 0.14;
constexpr double kQuietestPeak = 0.001;
// A dynamics trace that never passes 0.12 dB of reduction is not worth a line.
constexpr double kVisibleReduction = 0.01;

// The first frame of column d of N frames: d N / 480, in 64 bits so that
// hours of audio at high rates cannot wrap.
std::size_t ColumnStart(std::size_t column, std::size_t frames)
{
    return std::size_t(std::uint64_t(column) * std::uint64_t(frames) / kActivityColumns);
}

// Smooths the inner values from the unsmoothed ones; the ends stay.
void SmoothOnce(std::vector<float>& values)
{
    const std::vector<float> raw = values;
    for (std::size_t i = 1; i + 1 < raw.size(); ++i)
    {
        values[i] = float(0.24 * raw[i - 1] + 0.52 * raw[i] + 0.24 * raw[i + 1]);
    }
}

} // namespace

std::vector<float> ColumnPeaks(const AudioBuffer& audio)
{
    std::vector<float> peaks(kActivityColumns, 0.0f);
    if (!HasAudio(audio))
    {
        return peaks;
    }
    const std::size_t frames = audio.FrameCount();
    const double* samples = audio.samples.data();
    for (std::size_t d = 0; d < kActivityColumns; ++d)
    {
        const std::size_t end = std::min(frames, ColumnStart(d + 1, frames));
        double peak = 0.0;
        for (std::size_t frame = ColumnStart(d, frames); frame < end; ++frame)
        {
            peak = std::max({peak, std::fabs(Finite(samples[2 * frame])),
                             std::fabs(Finite(samples[2 * frame + 1]))});
        }
        peaks[d] = float(std::min(peak, 1.0));
    }
    return peaks;
}

std::vector<float> ActivityEnvelope(const AudioBuffer& audio)
{
    std::vector<float> envelope = ColumnPeaks(audio);
    // Peaks rise fast and fall slowly, as a level meter's ballistics.
    for (std::size_t d = 1; d < envelope.size(); ++d)
    {
        const double previous = envelope[d - 1];
        const double step = envelope[d] > previous ? kAttack : kRelease;
        envelope[d] = float(previous + (envelope[d] - previous) * step);
    }
    SmoothOnce(envelope);
    return envelope;
}

void NormaliseJointly(std::vector<float>& first, std::vector<float>& second)
{
    double loudest = kQuietestPeak;
    for (const std::vector<float>* envelope : {&first, &second})
    {
        for (const float value : *envelope)
        {
            loudest = std::max(loudest, double(value));
        }
    }
    for (std::vector<float>* envelope : {&first, &second})
    {
        for (float& value : *envelope)
        {
            value = float(std::clamp(value / loudest, 0.0, 1.0));
        }
    }
}

std::vector<float> GainReductionTrace(const MeterSeries& series, double durationSec)
{
    std::vector<float> trace(kActivityColumns, 0.0f);
    const std::size_t count = series.values.size();
    if (count == 0 || !(series.rate > 0.0) || !std::isfinite(series.rate) || !(durationSec > 0.0))
    {
        return trace;
    }
    const double last = double(count - 1);
    for (std::size_t i = 0; i < kActivityColumns; ++i)
    {
        const double t = double(i) / double(kActivityColumns - 1) * durationSec;
        const double position = std::clamp(t * series.rate, 0.0, last);
        const std::size_t below = std::size_t(position);
        const std::size_t above = std::min(below + 1, count - 1);
        const double fraction = position - double(below);
        const double reductionDb = Finite(series.values[below]) * (1.0 - fraction) +
                                   Finite(series.values[above]) * fraction;
        trace[i] = float(std::clamp(reductionDb / kTraceFullScaleDb, 0.0, 1.0));
    }
    return trace;
}

double ActivityDurationSec(const AudioBuffer& source, const AudioBuffer& processed)
{
    if (processed.sampleRate > 0)
    {
        const double seconds = double(processed.FrameCount()) / processed.sampleRate;
        if (seconds > 0.0)
        {
            return seconds;
        }
    }
    return source.sampleRate >= 1 ? double(source.FrameCount()) / source.sampleRate : 0.0;
}

double ValueAtColumn(const std::vector<float>& values, double column)
{
    if (values.empty())
    {
        return 0.0;
    }
    const double position = std::clamp(Finite(column), 0.0, double(values.size() - 1));
    const std::size_t below = std::size_t(position);
    const std::size_t above = std::min(below + 1, values.size() - 1);
    const double fraction = position - double(below);
    return values[below] * (1.0 - fraction) + values[above] * fraction;
}

ActivityAnalysis AnalyseActivity(const AudioBuffer& source, const AudioBuffer& processed)
{
    ActivityAnalysis analysis;
    analysis.durationSec = ActivityDurationSec(source, processed);
    analysis.sourceEnvelope = ActivityEnvelope(source);
    analysis.processedEnvelope = ActivityEnvelope(processed);
    NormaliseJointly(analysis.sourceEnvelope, analysis.processedEnvelope);

    // The traces follow the processed audio they were measured on.
    const double processedSec =
        HasAudio(processed) ? double(processed.FrameCount()) / processed.sampleRate : 0.0;
    for (const MeterSeries& series : processed.meterSeries)
    {
        if (series.values.empty())
        {
            continue;
        }
        if (series.key == kLimiterReductionKey)
        {
            analysis.limiterTrace = GainReductionTrace(series, processedSec);
            analysis.hasLimiterTrace = true;
        }
        else if (series.key == kDynamicsReductionKey)
        {
            analysis.dynamicsTrace = GainReductionTrace(series, processedSec);
            analysis.hasDynamicsTrace =
                std::any_of(analysis.dynamicsTrace.begin(), analysis.dynamicsTrace.end(),
                            [](float v) { return v > kVisibleReduction; });
        }
    }
    return analysis;
}
