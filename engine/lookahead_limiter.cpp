#include "engine/lookahead_limiter.h"

#include "engine/limiter_input.h"
#include "engine/oversampler.h"
#include "engine/running_max.h"
#include "engine/stage4_limiters.h"

#include <algorithm>
#include <cmath>

namespace
{

// The limiter aims a little under the ceiling so that the trim afterwards
// rarely has anything left to do.
constexpr double kCeilingMargin = 0.995;
constexpr double kReleaseMs = 80.0;
constexpr double kLookaheadMs = 1.5;
// Soft knee 2 dB wide, centred on the effective ceiling.
constexpr double kKneeHalfWidthDb = 1.0;
// Floors the levels before the logarithm.
constexpr double kSmallestLevel = 1e-12;
// Short filters suffice here: the knee and the final trim absorb their ripple.
constexpr int kTapsPerPhase = 8;
constexpr double kCutoffRatio = 0.94;

double KneeGain(double upcomingPeak, double ceilingDb)
{
    const double overDb = 20.0 * std::log10(std::max(upcomingPeak, kSmallestLevel)) - ceilingDb;
    if (overDb <= -kKneeHalfWidthDb)
    {
        return 1.0;
    }
    const double reductionDb =
        overDb >= kKneeHalfWidthDb
            ? overDb
            : (overDb + kKneeHalfWidthDb) * (overDb + kKneeHalfWidthDb) / (4.0 * kKneeHalfWidthDb);
    return std::pow(10.0, -reductionDb / 20.0);
}

} // namespace

AudioBuffer LookaheadLimiter::Process(const AudioBuffer& input) const
{
    CheckLimiterInput(input, ceiling);
    // Written so that a NaN strength limits nothing.
    if (!(strength > 0.0))
    {
        return input;
    }
    const double share = std::min(strength, 1.0);

    const Oversampler oversampler(OversamplerConfig{oversampleFactor, kTapsPerPhase, kCutoffRatio});
    AudioBuffer up = oversampler.Upsample(input);
    const size_t frames = up.FrameCount();
    if (frames == 0)
    {
        return input;
    }
    const double effectiveCeiling = kCeilingMargin * ceiling;
    if (!AnyFrameOver(up, effectiveCeiling))
    {
        return input;
    }

    const double rate = up.sampleRate;
    const double releaseSamples = std::trunc(rate * kReleaseMs * 0.001);
    const double release = std::exp(-1.0 / std::max(releaseSamples, 1.0));
    const size_t lookahead = static_cast<size_t>(std::trunc(rate * kLookaheadMs * 0.001));
    const size_t window = std::max<size_t>(lookahead, 1) + 1;

    // The largest peak of this frame and the next window - 1, fed as the frames
    // are reached: the frames ahead are read before any of them is changed.
    double* samples = up.samples.data();
    MovingMax upcoming(window);
    const size_t reach = std::min(window - 1, frames - 1);
    for (size_t j = 0; j < reach; ++j)
    {
        upcoming.Push(j, FramePeak(samples, j));
    }
    const double ceilingDb = 20.0 * std::log10(std::max(effectiveCeiling, kSmallestLevel));
    double gain = 1.0;
    double target = 1.0;
    double previousPeak = -1.0;
    for (size_t i = 0; i < frames; ++i)
    {
        if (i + reach < frames)
        {
            upcoming.Push(i + reach, FramePeak(samples, i + reach));
        }
        upcoming.DropBefore(i);
        // The upcoming peak stays put for long stretches: reuse its knee gain.
        const double peak = upcoming.Max();
        if (peak != previousPeak)
        {
            target = KneeGain(peak, ceilingDb);
            previousPeak = peak;
        }
        // Instant attack, exponential release.
        gain = i == 0 || target < gain ? target : release * gain + (1.0 - release) * target;
        for (size_t channel = 0; channel < 2; ++channel)
        {
            double& x = samples[2 * i + channel];
            x = x + (gain * x - x) * share;
        }
    }

    AudioBuffer down = oversampler.Downsample(up, input.sampleRate);
    PeakTrimLoop(down, effectiveCeiling, oversampleFactor);
    return down;
}
