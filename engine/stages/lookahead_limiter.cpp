#include "engine/stages/lookahead_limiter.h"

#include "engine/track_memory.h"
#include "engine/stages/limiter_input.h"
#include "engine/dsp/oversampled_stream.h"
#include "engine/dsp/oversampler.h"
#include "engine/dsp/running_max.h"
#include "engine/stages/stage4_limiters.h"

#include <algorithm>
#include <cmath>
#include <vector>

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

// The target gain for an upcoming peak: none up to 1 dB under the effective
// ceiling, a quadratic knee within 1 dB of it, and full reduction (the gain
// that puts the peak on the ceiling) from 1 dB over. The logarithms are only
// taken inside the knee.
struct SoftKnee
{
    explicit SoftKnee(double effectiveCeiling)
        : ceiling(effectiveCeiling),
          ceilingDb(20.0 * std::log10(std::max(effectiveCeiling, kSmallestLevel))),
          kneeStart(effectiveCeiling * std::pow(10.0, -kKneeHalfWidthDb / 20.0)),
          kneeEnd(effectiveCeiling * std::pow(10.0, kKneeHalfWidthDb / 20.0))
    {
    }

    double Gain(double upcomingPeak) const
    {
        if (upcomingPeak <= kneeStart)
        {
            return 1.0;
        }
        if (upcomingPeak >= kneeEnd)
        {
            return ceiling / upcomingPeak;
        }
        const double overDb = 20.0 * std::log10(std::max(upcomingPeak, kSmallestLevel)) - ceilingDb;
        const double reductionDb =
            (overDb + kKneeHalfWidthDb) * (overDb + kKneeHalfWidthDb) / (4.0 * kKneeHalfWidthDb);
        return std::pow(10.0, -reductionDb / 20.0);
    }

    double ceiling;
    double ceilingDb;
    double kneeStart;
    double kneeEnd;
};

// The gain of each oversampled frame, a run of frames at a time: the knee's
// target for the largest peak of this frame and the next window - 1, reached
// at once when it is lower and approached exponentially when it is higher.
class LookaheadGain
{
public:
    LookaheadGain(double effectiveCeiling, double rate, size_t frames)
        : m_knee(effectiveCeiling),
          m_release(std::exp(-1.0 / std::max(std::trunc(rate * kReleaseMs * 0.001), 1.0))),
          m_reach(std::min(Window(rate) - 1, frames - 1)), m_frames(frames)
    {
    }

    // How many frames past a frame must be at hand (unchanged) to step it.
    size_t Reach() const { return m_reach; }

    // The gains of frames [begin, end), the next in order, into gains;
    // `samples` holds frames samplesFirst .. end - 1 + Reach() (clipped to the
    // signal), those from begin on as yet unchanged.
    void Run(size_t begin, size_t end, const double* samples, size_t samplesFirst, double* gains)
    {
        // The largest peak of each frame and the next Reach() frames.
        m_peaks.resize(std::min(end + m_reach, m_frames) - begin);
        for (size_t j = 0; j < m_peaks.size(); ++j)
        {
            m_peaks[j] = FramePeak(samples, begin + j - samplesFirst);
        }
        m_upcoming.resize(end - begin);
        BlockWindowMax(m_peaks, m_reach + 1, m_upcoming);

        // The running values live in locals, out of reach of the stores.
        double gain = m_gain;
        double target = m_target;
        double previousPeak = m_previousPeak;
        for (size_t i = begin; i < end; ++i)
        {
            // The upcoming peak stays put for long stretches: reuse its knee gain.
            const double peak = m_upcoming[i - begin];
            if (peak != previousPeak)
            {
                target = m_knee.Gain(peak);
                previousPeak = peak;
            }
            // Instant attack, exponential release.
            gain = i == 0 || target < gain ? target : m_release * gain + (1.0 - m_release) * target;
            gains[i - begin] = gain;
        }
        m_gain = gain;
        m_target = target;
        m_previousPeak = previousPeak;
    }

private:
    static size_t Window(double rate)
    {
        const size_t lookahead = static_cast<size_t>(std::trunc(rate * kLookaheadMs * 0.001));
        return std::max<size_t>(lookahead, 1) + 1;
    }

    SoftKnee m_knee;
    double m_release;
    size_t m_reach;
    size_t m_frames;
    std::vector<double> m_peaks;
    std::vector<double> m_upcoming;
    double m_gain = 1.0;
    double m_target = 1.0;
    double m_previousPeak = -1.0;
};

} // namespace

AudioBuffer LookaheadLimiter::Process(const AudioBuffer& input) const
{
    // The oversampled copies are reused from pass to pass.
    const TrackMemoryScope scratch;
    const double share = LimiterShare(strength);
    if (share == 0.0)
    {
        return input;
    }

    // The oversampler refuses a bad factor and an odd sample count first.
    const Oversampler oversampler(OversamplerConfig{oversampleFactor, kTapsPerPhase, kCutoffRatio});
    const double rate = oversampler.UpsampledRate(input);
    CheckLimiterInput(input, ceiling);
    const size_t inputFrames = input.FrameCount();
    if (inputFrames == 0)
    {
        return input;
    }
    const double effectiveCeiling = kCeilingMargin * ceiling;
    if (!AnyOversampledFrameOver(input, oversampler, effectiveCeiling))
    {
        return input;
    }

    // The gains of a run of frames need the frames up to Reach() past it as
    // they were made; the stream hands them over in order.
    const size_t frames = static_cast<size_t>(oversampleFactor) * inputFrames;
    LookaheadGain gain(effectiveCeiling, rate, frames);
    AudioBuffer down;
    down.sampleRate = input.sampleRate;
    down.samples.resize(2 * inputFrames);
    if (oversampleFactor == 1)
    {
        // Downsample keeps the lists at factor 1.
        down.meterSeries = input.meterSeries;
        down.stageMetrics = input.stageMetrics;
    }
    std::vector<double> gains;
    StreamOversampled(
        input, oversampler, gain.Reach(),
        [&](size_t begin, size_t end, double* window, size_t windowFirst)
        {
            gains.resize(end - begin);
            gain.Run(begin, end, window, windowFirst, gains.data());
            double* frame = window + 2 * (begin - windowFirst);
            for (size_t i = 0; i < gains.size(); ++i)
            {
                for (size_t channel = 0; channel < 2; ++channel)
                {
                    double& x = frame[2 * i + channel];
                    x = x + (gains[i] * x - x) * share;
                }
            }
        },
        down.samples.data());
    PeakTrimLoop(down, effectiveCeiling, oversampleFactor);
    return down;
}
