#pragma once

#include "engine/audio_buffer.h"

#include <functional>

// What the export asks of the normaliser.
struct LoudnessNormalizeOptions
{
    double targetLufs = -14.0;
    double toleranceLu = 0.5;  // accepted distance from the target
    double ceilingDbtp = -1.0; // limiter ceiling (true-peak ceiling of the delivery target)
    // 0: one plain gain change; nonzero: gain passes, each followed by the limiter.
    int limitToTarget = 0;
    int maxPasses = 3; // most gain passes with the limiter; below 1 counts as 1
};

struct LoudnessNormalizeResult
{
    bool gainApplied = false;
    double lufsBefore = 0.0;  // -infinity when not measurable
    double lufsAfter = 0.0;   // equal to lufsBefore when nothing was done
    double gainDb = 0.0;      // sum of the gains applied; the limiter's reduction is not counted
    double peakDbAfter = 0.0; // sample peak, dBFS
    int passes = 0;
    bool withinTolerance = false;
};

// Brings the integrated loudness of the buffer to the target, changing its
// samples in place (rate, meter series and stage metrics stay). Audio that has
// no measurable loudness (empty, too short, silent) is left alone. Refuses with
// std::invalid_argument, before touching anything, a target that is not a
// finite level at or under 0 LUFS, a tolerance that is not a finite value of at
// least 0 LU, a non-finite ceiling in limiter mode, and audio holding NaN or
// infinite samples. A failing limiter leaves the buffer as it was.
LoudnessNormalizeResult NormalizeLoudnessToTarget(AudioBuffer& buffer,
                                                  const LoudnessNormalizeOptions& options);

// The same with the limiter of the limiter mode given by the caller in place of
// the look-ahead limiter at the ceiling with 4x oversampling. The limiter must
// return a buffer of the same rate and sample count.
using BufferLimiter = std::function<AudioBuffer(const AudioBuffer&)>;
LoudnessNormalizeResult NormalizeLoudnessToTarget(AudioBuffer& buffer,
                                                  const LoudnessNormalizeOptions& options,
                                                  const BufferLimiter& limiter);
