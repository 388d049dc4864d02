#include "engine/stages/stage4_limiters.h"

#include "engine/track_memory.h"
#include "engine/stages/limiter_input.h"
#include "engine/dsp/oversampled_stream.h"
#include "engine/dsp/oversampler.h"
#include "engine/dsp/running_max.h"
#include "engine/dsp/zero_phase_one_pole.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>
#include <optional>
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

// The sample-peak limiter's timing at a rate: a centred hold of holdLength
// frames (odd, 2 * halfWindow + 1 frames read around each frame) and a trail
// that keeps the hold's reduction for holdLength frames after it.
struct SamplePeakWindows
{
    explicit SamplePeakWindows(double rate)
        : holdLength(std::max<size_t>(static_cast<size_t>(std::trunc(kHoldSeconds * rate)), 1))
    {
        const size_t oddHold = holdLength % 2 == 1 ? holdLength : holdLength + 1;
        halfWindow = (2 * oddHold - 1) / 2;
        trailBehind = holdLength - 1 + halfWindow;
    }

    size_t holdLength;
    size_t halfWindow = 0;
    size_t trailBehind = 0;
};

// The centred hold of the needed reduction, smoothed without delay: the
// limiter's one whole-signal vector. needAt(j) is the needed reduction of
// frame j, asked for in increasing j.
template <typename NeedAt>
std::vector<double> SmoothedHold(const SamplePeakWindows& windows, size_t frames, NeedAt needAt)
{
    const size_t halfWindow = windows.halfWindow;
    // A centred hold: the reduction starts before the peak it serves.
    std::vector<double> smooth(frames);
    {
        MovingMax hold(2 * halfWindow + 1);
        const size_t ahead = std::min(halfWindow, frames - 1);
        for (size_t j = 0; j < ahead; ++j)
        {
            hold.Push(j, needAt(j));
        }
        for (size_t i = 0; i < frames; ++i)
        {
            if (i + ahead < frames)
            {
                hold.Push(i + ahead, needAt(i + ahead));
            }
            hold.DropBefore(i >= halfWindow ? i - halfWindow : 0);
            smooth[i] = hold.Max();
        }
    }
    const double pole = std::exp(-2.0 / static_cast<double>(windows.holdLength));
    ZeroPhaseOnePoleInPlace(smooth, 1.0 - pole, 0.0, -pole);
    return smooth;
}

// The gain of the sample-peak limiter applied to the frames in order, a run of
// frames at a time: the largest of the trail's release, the smoothed hold and
// the frame's own need (which alone guarantees gain <= ceiling / peak).
class SamplePeakGain
{
public:
    SamplePeakGain(const SamplePeakWindows& windows, double rate, size_t frames, double ceiling,
                   double strength, const std::vector<double>& smooth)
        : m_trailBehind(windows.trailBehind), m_ahead(std::min(windows.halfWindow, frames - 1)),
          m_frames(frames), m_ceiling(ceiling), m_strength(strength), m_smooth(smooth),
          m_trail(windows.trailBehind + windows.halfWindow + 1),
          m_pending(std::bit_ceil(m_ahead + 1)), m_pendingMask(m_pending.size() - 1),
          m_fastRelease(std::min(kFastReleaseHz, 0.5 * rate * kBelowNyquist), rate),
          m_slowRelease(std::min(kSlowReleaseHz, 0.5 * rate * kBelowNyquist), rate)
    {
    }

    // How many frames past a frame must be at hand (unchanged) to limit it.
    size_t Reach() const { return m_ahead; }

    // Limits frames [begin, end), the next in order. `samples` holds frames
    // samplesFirst .. end - 1 + Reach() (clipped to the signal), those from
    // begin on as yet unchanged: a frame's need is read before it changes.
    void Apply(size_t begin, size_t end, double* samples, size_t samplesFirst)
    {
        double* const at = samples - 2 * samplesFirst; // indexed by frame
        if (begin == 0)
        {
            // The needs read ahead for the trail, kept until their own frame comes.
            for (size_t j = 0; j < m_ahead; ++j)
            {
                m_pending[j & m_pendingMask] = NeededReduction(at, j, m_ceiling);
                m_trail.Push(j, m_pending[j & m_pendingMask]);
            }
        }
        for (size_t i = begin; i < end; ++i)
        {
            if (i + m_ahead < m_frames)
            {
                const size_t next = i + m_ahead;
                if (next + kPrefetchFrames < end + m_ahead)
                {
                    PrefetchFrame(at, next + kPrefetchFrames, m_frames);
                }
                m_pending[next & m_pendingMask] = NeededReduction(at, next, m_ceiling);
                m_trail.Push(next, m_pending[next & m_pendingMask]);
            }
            m_trail.DropBefore(i >= m_trailBehind ? i - m_trailBehind : 0);
            const double need = m_pending[i & m_pendingMask];
            const double fast = m_fastRelease.Step(m_trail.Max());
            const double fastHold = std::max(fast, m_trail.Max());
            const double release = std::max(m_slowRelease.Step(fastHold), fast);
            m_fastRelease.FlushTail(i);
            m_slowRelease.FlushTail(i);
            const double gain = 1.0 - std::max({release, m_smooth[i], need});
            for (size_t channel = 0; channel < 2; ++channel)
            {
                double& x = at[2 * i + channel];
                x = x + (gain * x - x) * m_strength;
            }
        }
    }

private:
    size_t m_trailBehind;
    size_t m_ahead;
    size_t m_frames;
    double m_ceiling;
    double m_strength;
    const std::vector<double>& m_smooth;
    MovingMax m_trail;
    std::vector<double> m_pending;
    size_t m_pendingMask;
    BilinearLowPass m_fastRelease;
    BilinearLowPass m_slowRelease;
};

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
    const SamplePeakWindows windows(rate);
    const std::vector<double> smooth =
        SmoothedHold(windows, frames,
                     [&](size_t j)
                     {
                         PrefetchFrame(samples, j + kPrefetchFrames, frames);
                         return NeededReduction(samples, j, ceiling);
                     });
    SamplePeakGain(windows, rate, frames, ceiling, strength, smooth).Apply(0, frames, samples, 0);
}

// StandardLimit on the buffer itself.
void StandardLimitInPlace(AudioBuffer& buffer, double ceiling, double strength)
{
    CheckLimiterInput(buffer, ceiling);
    const double share = LimiterShare(strength);
    if (share > 0.0)
    {
        LimitSamplePeaks(buffer, ceiling, share);
    }
}

// Input frames upsampled per round while the needs are read.
constexpr size_t kNeedFrames = 4096;

// Downsample(LimitSamplePeaks(Upsample(input))) at full precision, without
// the oversampled copy of the whole track: the needs are read from the
// oversampled signal as it is made, and a second making of it is limited and
// brought down as it is streamed. Every value is the one the whole-buffer
// route gives.
AudioBuffer LimitOversampled(const AudioBuffer& input, const Oversampler& oversampler,
                             double ceiling, double share)
{
    const size_t inputFrames = input.FrameCount();
    const size_t factor = static_cast<size_t>(oversampler.Config().factor);
    const size_t frames = factor * inputFrames;
    const double rate = oversampler.UpsampledRate(input);

    const bool limits = share > 0.0 && AnyOversampledFrameOver(input, oversampler, ceiling);
    const SamplePeakWindows windows(rate);
    std::vector<double> smooth;
    if (limits)
    {
        std::vector<double> piece;
        size_t pieceFirst = 0;
        size_t pieceEnd = 0;
        smooth = SmoothedHold(windows, frames,
                              [&](size_t j)
                              {
                                  if (j >= pieceEnd)
                                  {
                                      const size_t first = j / factor;
                                      oversampler.UpsampleRange(input, first, first + kNeedFrames,
                                                                piece);
                                      pieceFirst = factor * first;
                                      pieceEnd = pieceFirst + piece.size() / 2;
                                  }
                                  return NeededReduction(piece.data(), j - pieceFirst, ceiling);
                              });
    }
    std::optional<SamplePeakGain> gain;
    if (limits)
    {
        gain.emplace(windows, rate, frames, ceiling, share, smooth);
    }
    AudioBuffer down;
    down.sampleRate = input.sampleRate;
    down.samples.resize(2 * inputFrames);
    StreamOversampled(
        input, oversampler, gain ? gain->Reach() : 0,
        [&gain](size_t begin, size_t end, double* window, size_t windowFirst)
        {
            if (gain)
            {
                gain->Apply(begin, end, window, windowFirst);
            }
        },
        down.samples.data());
    return down;
}

} // namespace

AudioBuffer StandardLimit(const AudioBuffer& input, double ceilingLinear, double strength)
{
    CheckLimiterInput(input, ceilingLinear);
    AudioBuffer output = input;
    StandardLimitInPlace(output, ceilingLinear, strength);
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
    oversampler.UpsampledRate(input);
    CheckLimiterInput(input, ceilingLinear);
    // A share of 0 still makes the round trip: this path never hands back the
    // input itself.
    const double share = LimiterShare(strength);
    AudioBuffer down;
    if (input.FrameCount() == 0)
    {
        // Refuses a rate of 0 as the round trip does.
        down = oversampler.Downsample(oversampler.Upsample(input), input.sampleRate);
    }
    else
    {
        down = LimitOversampled(input, oversampler, ceilingLinear, share);
    }
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

void Stage4LimitInPlace(AudioBuffer& buffer, double ceilingLinear, int limiterMode,
                        int oversampleFactor, double strength)
{
    if (limiterMode == LimiterLookaheadTruePeak || limiterMode == LimiterTruePeak)
    {
        buffer = Stage4Limit(buffer, ceilingLinear, limiterMode, oversampleFactor, strength);
        return;
    }
    StandardLimitInPlace(buffer, ceilingLinear, strength);
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
