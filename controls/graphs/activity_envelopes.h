#pragma once

#include "engine/audio_buffer.h"

#include <cstddef>
#include <vector>

// What the activity graph shows of a whole preview, computed once per feed:
// the level envelopes of the unprocessed and processed audio and the gain
// reduction of the limiter and of the dynamics stage, each as one value per
// column of a fixed width.

constexpr std::size_t kActivityColumns = 480;

// The series keys of the two gain-reduction traces.
constexpr const char* kLimiterReductionKey = "stage4.gain_reduction_db";
constexpr const char* kDynamicsReductionKey = "dynamics.gain_reduction_db";

// A reduction this deep fills a trace's full height.
constexpr double kTraceFullScaleDb = 12.0;

// The buffer's peak level per column: the largest |L| or |R| of the column's
// frames, at most 1. Column d of N frames holds frames d N / 480 up to
// (d + 1) N / 480; a column without a frame reads 0, and so does a sample that
// is not finite. All 0 for a buffer without audio (rate not positive, fewer
// than two samples).
std::vector<float> ColumnPeaks(const AudioBuffer& audio);

// The column peaks through a fast attack (0.55) and a slower release (0.14),
// then one pass of a 0.24 / 0.52 / 0.24 smoother over the inner columns.
std::vector<float> ActivityEnvelope(const AudioBuffer& audio);

// Scales both envelopes by the largest value of either (at least 0.001) and
// holds them to [0, 1], so that the louder buffer reaches the top.
void NormaliseJointly(std::vector<float>& first, std::vector<float>& second);

// A gain-reduction series read at each column's time over `durationSec`
// (linear between neighbouring values, the last one held), as a fraction of
// 12 dB held to [0, 1]. All 0 when the series holds nothing, its rate is not a
// positive number or the duration is not positive; a value that is not finite
// reads 0.
std::vector<float> GainReductionTrace(const MeterSeries& series, double durationSec);

// The length of the time axis: the processed audio's when it has one,
// otherwise the source's (0 when neither has a rate of at least 1).
double ActivityDurationSec(const AudioBuffer& source, const AudioBuffer& processed);

// `values` (one per column) at a fractional column, linear between neighbours;
// 0 for no values.
double ValueAtColumn(const std::vector<float>& values, double column);

// Everything the graph derives from its two buffers.
struct ActivityAnalysis
{
    std::vector<float> sourceEnvelope;
    std::vector<float> processedEnvelope;
    std::vector<float> limiterTrace;
    std::vector<float> dynamicsTrace;
    bool hasLimiterTrace = false;
    bool hasDynamicsTrace = false;
    double durationSec = 0.0;
};

ActivityAnalysis AnalyseActivity(const AudioBuffer& source, const AudioBuffer& processed);
