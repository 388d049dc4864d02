#include "engine/loudness/loudness_normalizer.h"

#include "engine/decibels.h"
#include "engine/stages/lookahead_limiter.h"
#include "engine/loudness/loudness.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace
{

// Louder than a full-scale 1 kHz sine: no track reaches it without clipping.
constexpr double kLoudestTargetLufs = 0.0;
// A limiter ceiling above full scale would hand on samples that clip when written.
constexpr double kHighestCeilingDbtp = 0.0;
// Below this a track counts as silence and is never scaled up.
constexpr double kQuietestLufs = -120.0;
constexpr int kLimiterOversampleFactor = 4;
constexpr double kLimiterStrength = 1.0;

void RefuseUnusableOptions(const LoudnessNormalizeOptions& options)
{
    if (!std::isfinite(options.targetLufs) || options.targetLufs > kLoudestTargetLufs)
    {
        throw std::invalid_argument("Loudness target must be a finite level at or below 0 LUFS");
    }
    if (!std::isfinite(options.toleranceLu) || options.toleranceLu < 0.0)
    {
        throw std::invalid_argument("Loudness tolerance must be a finite value of at least 0 LU");
    }
    if (options.limitToTarget != 0 &&
        (!std::isfinite(options.ceilingDbtp) || options.ceilingDbtp > kHighestCeilingDbtp))
    {
        throw std::invalid_argument("True-peak ceiling must be a finite level at or below 0 dBTP");
    }
}

double IntegratedOrMinusInfinity(const AudioBuffer& buffer)
{
    const LoudnessStats stats = MeasureLoudness(buffer);
    return stats.hasIntegratedLufs ? stats.integratedLufs
                                   : -std::numeric_limits<double>::infinity();
}

void ScaleSamples(std::vector<double>& samples, double gain)
{
    for (double& sample : samples)
    {
        sample *= gain;
    }
}

bool Within(double lufs, const LoudnessNormalizeOptions& options)
{
    return std::abs(lufs - options.targetLufs) <= options.toleranceLu;
}

} // namespace

LoudnessNormalizeResult NormalizeLoudnessToTarget(AudioBuffer& buffer,
                                                  const LoudnessNormalizeOptions& options)
{
    const LookaheadLimiter limiter{DbToGain(options.ceilingDbtp), kLimiterOversampleFactor,
                                   kLimiterStrength};
    return NormalizeLoudnessToTarget(
        buffer, options, [&limiter](const AudioBuffer& input) { return limiter.Process(input); });
}

LoudnessNormalizeResult NormalizeLoudnessToTarget(AudioBuffer& buffer,
                                                  const LoudnessNormalizeOptions& options,
                                                  const BufferLimiter& limiter)
{
    RefuseUnusableOptions(options);
    LoudnessNormalizeResult result;
    if (buffer.samples.empty() || buffer.sampleRate <= 0)
    {
        return result;
    }

    const double before = IntegratedOrMinusInfinity(buffer);
    result.lufsBefore = before;
    if (std::isinf(before) || before < kQuietestLufs)
    {
        // The meter cannot tell NaN audio from silence; handing it on unchanged
        // would let the export write a corrupt file as if nothing were wrong.
        if (std::any_of(buffer.samples.begin(), buffer.samples.end(),
                        [](double sample) { return !std::isfinite(sample); }))
        {
            throw std::invalid_argument(
                "Cannot normalise loudness: the audio holds samples that are not finite numbers");
        }
        result.lufsAfter = before;
        result.peakDbAfter = SamplePeakDb(buffer);
        return result;
    }
    if (Within(before, options))
    {
        result.lufsAfter = before;
        result.peakDbAfter = SamplePeakDb(buffer);
        result.withinTolerance = true;
        return result;
    }

    if (options.limitToTarget == 0)
    {
        const double gainDb = options.targetLufs - before;
        ScaleSamples(buffer.samples, DbToGain(gainDb));
        result.gainDb = gainDb;
        result.gainApplied = true;
        result.passes = 1;
        result.lufsAfter = IntegratedOrMinusInfinity(buffer);
        result.peakDbAfter = SamplePeakDb(buffer);
        result.withinTolerance = Within(result.lufsAfter, options);
        return result;
    }

    // The passes work on a copy so that a limiter that throws leaves the
    // caller's track as it was; the limiter makes a new buffer each pass anyway.
    AudioBuffer work;
    work.sampleRate = buffer.sampleRate;
    work.samples = buffer.samples;
    const int passLimit = std::max(1, options.maxPasses);
    double current = before;
    while (true)
    {
        ++result.passes;
        const double gainDb = options.targetLufs - current;
        if (std::abs(gainDb) <= options.toleranceLu)
        {
            result.withinTolerance = true;
            break;
        }
        ScaleSamples(work.samples, DbToGain(gainDb));
        result.gainDb += gainDb;
        AudioBuffer limited = limiter(work);
        if (limited.sampleRate != work.sampleRate || limited.samples.size() != work.samples.size())
        {
            throw std::logic_error("Limiter returned a buffer of another length or rate");
        }
        work.samples = std::move(limited.samples);
        current = IntegratedOrMinusInfinity(work);
        if (!std::isfinite(current) || current < kQuietestLufs || result.passes >= passLimit)
        {
            break;
        }
    }
    if (!result.withinTolerance && !std::isinf(current))
    {
        result.withinTolerance = Within(current, options);
    }
    buffer.samples = std::move(work.samples);
    result.lufsAfter = current;
    result.gainApplied = true;
    result.peakDbAfter = SamplePeakDb(buffer);
    return result;
}
