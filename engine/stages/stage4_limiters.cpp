#include "engine/stages/stage4_limiters.h"

#include "engine/track_memory.h"
#include "engine/stages/limiter_input.h"
#include "engine/dsp/oversampler.h"
#include "engine/dsp/running_max.h"
#include "engine/dsp/zero_phase_one_pole.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace
{

// 1-ms hold: long enough to cover the rise of a click, short enough to leave
// the music's transients around it.
constexpr double kHoldSeconds = 0.001;
// Release corners: a fast one that recovers from single clicks within a few
// hundred ms and a slow one that rides out dense passages without pumping.
constexpr double kFastReleaseHz = 7.0;
constexpr double kSlowReleaseHz = 0.26666666666666666;
// Keeps a corner just under Nyquist, where the pre-warped tangent would blow up.
constexpr double kBelowNyquist = 0.999999;

// A release this small is no reduction at all (1 - it rounds to 1); it is
// flushed to zero every few frames so that the long decay to silence after
// the last peak stops there instead of crawling through the subnormal numbers.
constexpr double kTailFlushLevel = 1e-30;
constexpr size_t kTailCheckFrames = 64;

// Causal first-order low-pass by the bilinear transform with pre-warping.
class BilinearLowPass
{
public:
    BilinearLowPass(double cutoffHz, double sampleRate)
    {
        const double k = 2.0 * sampleRate * std::tan(std::numbers::pi * cutoffHz / sampleRate);
        m_b = k / (k + 2.0 * sampleRate);
        m_c = (k - 2.0 * sampleRate) / (k + 2.0 * sampleRate);
    }

    double Step(double x)
    {
        const double y = m_b * x + m_b * m_previousIn - m_c * m_previousOut;
        m_previousIn = x;
        m_previousOut = y;
        return y;
    }

    // Called with a running count, so the test stays out of the recursion.
    void FlushTail(size_t count)
    {
        if (count % kTailCheckFrames == 0 && std::fabs(m_previousOut) < kTailFlushLevel &&
            std::fabs(m_previousIn) < kTailFlushLevel)
        {
            m_previousIn = 0.0;
            m_previousOut = 0.0;
        }
    }

private:
    double m_b = 0.0;
    double m_c = 0.0;
    double m_previousIn = 0.0;
    double m_previousOut = 0.0;
};

// Long filters: the true-peak estimate must hold between samples of dense,
// bright material.
constexpr int kTruePeakTapsPerPhase = 32;
constexpr double kTruePeakCutoffRatio = 0.94;
constexpr int kTrimPasses = 2;
// The trim reads the true peak as a BS.1770 meter does, at no less than 4x:
// a 2x reading misses up to 0.2 dB of inter-sample peak on dense material.
constexpr int kTruePeakMeterFactor = 4;
// Far beyond the rounding of an upsampled value (a few hundred products).
constexpr double kLinearityMargin = 1e-9;
constexpr double kSmallestPeak = 1e-12;

OversamplerConfig TruePeakConfig(int oversampleFactor)
{
    return {oversampleFactor, kTruePeakTapsPerPhase, kTruePeakCutoffRatio};
}

bool IsSupportedFactor(int oversampleFactor)
{
    return oversampleFactor == 1 || oversampleFactor == 2 || oversampleFactor == 4;
}

// The share of a frame that must go to bring it within the ceiling (0 for
// frames already within it).
inline double NeededReduction(const double* interleaved, size_t frame, double ceiling)
{
    const double peak = FramePeak(interleaved, frame);
    // Most frames are within the ceiling; 1 - c / c is exactly 0 for them.
    return peak <= ceiling ? 0.0 : 1.0 - ceiling / peak;
}

// The passes over a long buffer ask for its frames this far (4 kB) ahead of
// their reading: the branches of the window maxima otherwise leave the
// processor's own prefetching behind, and every pass waits on memory.
constexpr size_t kPrefetchFrames = 256;

inline void PrefetchFrame(const double* interleaved, size_t frame, size_t frames)
{
    if (frame < frames)
    {
        __builtin_prefetch(interleaved + 2 * frame);
    }
}

// The sample-peak limiter proper, on a buffer that has passed the input checks,
// with strength in (0, 1]. The needed reduction is read from the samples as
// they are reached (frames ahead of the one being changed are still intact),
// so the only whole-signal vector is the smoothed hold.
void LimitSamplePeaks(AudioBuffer& buffer, double ceiling, double strength)
{
    if (!AnyFrameOver(buffer, ceiling))
    {
        return;
    }
    const double rate = buffer.sampleRate;
    const size_t frames = buffer.FrameCount();
    double* samples = buffer.samples.data();

    const size_t holdLength =
        std::max<size_t>(static_cast<size_t>(std::trunc(kHoldSeconds * rate)), 1);
    const size_t oddHold = holdLength % 2 == 1 ? holdLength : holdLength + 1;
    const size_t halfWindow = (2 * oddHold - 1) / 2;

    // A centred hold: the reduction starts before the peak it serves.
    std::vector<double> smooth(frames);
    {
        MovingMax hold(2 * halfWindow + 1);
        const size_t ahead = std::min(halfWindow, frames - 1);
        for (size_t j = 0; j < ahead; ++j)
        {
            hold.Push(j, NeededReduction(samples, j, ceiling));
        }
        for (size_t i = 0; i < frames; ++i)
        {
            if (i + ahead < frames)
            {
                PrefetchFrame(samples, i + ahead + kPrefetchFrames, frames);
                hold.Push(i + ahead, NeededReduction(samples, i + ahead, ceiling));
            }
            hold.DropBefore(i >= halfWindow ? i - halfWindow : 0);
            smooth[i] = hold.Max();
        }
    }
    const double pole = std::exp(-2.0 / static_cast<double>(holdLength));
    ZeroPhaseOnePoleInPlace(smooth, 1.0 - pole, 0.0, -pole);

    // The trail is the hold's maximum over the last holdLength frames: the
    // needed reduction over the union of their centred windows.
    const size_t trailBehind = holdLength - 1 + halfWindow;
    MovingMax trail(trailBehind + halfWindow + 1);
    const size_t ahead = std::min(halfWindow, frames - 1);
    // The needs read ahead for the trail, kept until their own frame comes.
    std::vector<double> pending(std::bit_ceil(ahead + 1));
    const size_t pendingMask = pending.size() - 1;
    for (size_t j = 0; j < ahead; ++j)
    {
        pending[j & pendingMask] = NeededReduction(samples, j, ceiling);
        trail.Push(j, pending[j & pendingMask]);
    }
    BilinearLowPass fastRelease(std::min(kFastReleaseHz, 0.5 * rate * kBelowNyquist), rate);
    BilinearLowPass slowRelease(std::min(kSlowReleaseHz, 0.5 * rate * kBelowNyquist), rate);
    for (size_t i = 0; i < frames; ++i)
    {
        if (i + ahead < frames)
        {
            const size_t next = i + ahead;
            PrefetchFrame(samples, next + kPrefetchFrames, frames);
            pending[next & pendingMask] = NeededReduction(samples, next, ceiling);
            trail.Push(next, pending[next & pendingMask]);
        }
        trail.DropBefore(i >= trailBehind ? i - trailBehind : 0);
        const double need = pending[i & pendingMask];
        const double fast = fastRelease.Step(trail.Max());
        const double fastHold = std::max(fast, trail.Max());
        const double release = std::max(slowRelease.Step(fastHold), fast);
        fastRelease.FlushTail(i);
        slowRelease.FlushTail(i);
        // need alone guarantees gain <= ceiling / peak.
        const double gain = 1.0 - std::max({release, smooth[i], need});
        for (size_t channel = 0; channel < 2; ++channel)
        {
            double& x = samples[2 * i + channel];
            x = x + (gain * x - x) * strength;
        }
    }
}

} // namespace

AudioBuffer StandardLimit(const AudioBuffer& input, double ceilingLinear, double strength)
{
    CheckLimiterInput(input, ceilingLinear);
    AudioBuffer output = input;
    const double share = LimiterShare(strength);
    if (share > 0.0)
    {
        LimitSamplePeaks(output, ceilingLinear, share);
    }
    return output;
}

AudioBuffer TruePeakLimit(const AudioBuffer& input, double ceilingLinear, int oversampleFactor,
                          double strength)
{
    // The oversampled copies are reused from pass to pass.
    const TrackMemoryScope scratch;
    if (!IsSupportedFactor(oversampleFactor))
    {
        throw std::runtime_error("True-peak limiter oversample factor must be 1, 2, or 4");
    }
    if (oversampleFactor == 1)
    {
        return StandardLimit(input, ceilingLinear, strength);
    }
    // The oversampler refuses an odd sample count first.
    const Oversampler oversampler(TruePeakConfig(oversampleFactor));
    AudioBuffer work = oversampler.Upsample(input);
    CheckLimiterInput(input, ceilingLinear);
    // A share of 0 still makes the round trip: this path never hands back the
    // input itself.
    const double share = LimiterShare(strength);
    if (share > 0.0)
    {
        LimitSamplePeaks(work, ceilingLinear, share);
    }
    AudioBuffer down = oversampler.Downsample(work, input.sampleRate);
    PeakTrimLoop(down, ceilingLinear, oversampleFactor);
    return down;
}

AudioBuffer LookaheadLimit(const AudioBuffer& input, double ceilingLinear, int oversampleFactor,
                           double strength)
{
    if (!IsSupportedFactor(oversampleFactor))
    {
        throw std::runtime_error("Lookahead limiter oversample factor must be 1, 2, or 4");
    }
    return LookaheadLimiter{ceilingLinear, oversampleFactor, strength}.Process(input);
}

AudioBuffer Stage4Limit(const AudioBuffer& input, double ceilingLinear, int limiterMode,
                        int oversampleFactor, double strength)
{
    switch (limiterMode)
    {
    case LimiterLookaheadTruePeak:
        return LookaheadLimit(input, ceilingLinear, oversampleFactor, strength);
    case LimiterTruePeak:
        return TruePeakLimit(input, ceilingLinear, oversampleFactor, strength);
    default:
        return StandardLimit(input, ceilingLinear, strength);
    }
}

void PeakTrimLoop(AudioBuffer& buffer, double ceilingLinear, int oversampleFactor)
{
    CheckLimiterInput(buffer, ceilingLinear);
    const auto scale = [&buffer](double gain)
    {
        for (double& x : buffer.samples)
        {
            x *= gain;
        }
    };
    if (oversampleFactor <= 1)
    {
        for (int pass = 0; pass < kTrimPasses; ++pass)
        {
            const double peak = LargestMagnitude(buffer.samples);
            if (!(peak > ceilingLinear))
            {
                return;
            }
            const double gain = ceilingLinear / std::max(peak, kSmallestPeak);
            if (gain != 1.0)
            {
                scale(gain);
            }
        }
        return;
    }

    // First measurement: the buffer's estimate, with a bound for every block.
    const Oversampler oversampler(TruePeakConfig(std::max(oversampleFactor, kTruePeakMeterFactor)));
    const std::vector<double> blockPeaks = OversampledBlockPeakBounds(buffer, oversampler);
    const double peak =
        blockPeaks.empty() ? 0.0 : *std::max_element(blockPeaks.begin(), blockPeaks.end());
    if (!(peak > ceilingLinear))
    {
        return;
    }
    const double gain = ceilingLinear / std::max(peak, kSmallestPeak);
    if (gain != 1.0)
    {
        scale(gain);
    }

    // Second measurement. The upsampling is linear, so a block now reads at
    // most its earlier bound times the gain, give or take rounding: only blocks
    // that end up within rounding of the ceiling can still be over it.
    double secondPeak = 0.0;
    for (size_t b = 0; b < blockPeaks.size(); ++b)
    {
        if (blockPeaks[b] * gain >= ceilingLinear * (1.0 - kLinearityMargin))
        {
            secondPeak = std::max(secondPeak, OversampledBlockPeak(buffer, oversampler, b));
        }
    }
    if (!(secondPeak > ceilingLinear))
    {
        return;
    }
    const double secondGain = ceilingLinear / std::max(secondPeak, kSmallestPeak);
    if (secondGain != 1.0)
    {
        scale(secondGain);
    }
}
