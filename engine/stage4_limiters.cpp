#include "engine/stage4_limiters.h"

#include "engine/limiter_input.h"
#include "engine/running_max.h"
#include "engine/zero_phase_one_pole.h"

#include <algorithm>
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

private:
    double m_b = 0.0;
    double m_c = 0.0;
    double m_previousIn = 0.0;
    double m_previousOut = 0.0;
};

// The sample-peak limiter proper, on a buffer that has passed the input checks,
// with strength in (0, 1].
void LimitSamplePeaks(AudioBuffer& buffer, double ceiling, double strength)
{
    // need[i]: the share of frame i that must go (0 within the ceiling).
    std::vector<double> need = FramePeaks(buffer);
    bool anyOver = false;
    for (double& value : need)
    {
        anyOver = anyOver || value > ceiling;
        value = 1.0 - ceiling / std::max(value, ceiling);
    }
    if (!anyOver)
    {
        return;
    }

    const double rate = buffer.sampleRate;
    const size_t holdLength =
        std::max<size_t>(static_cast<size_t>(std::trunc(kHoldSeconds * rate)), 1);
    const size_t oddHold = holdLength % 2 == 1 ? holdLength : holdLength + 1;
    const size_t halfWindow = (2 * oddHold - 1) / 2;

    // A centred window: the reduction starts before the peak it serves.
    std::vector<double> hold = WindowMax(need, halfWindow, halfWindow);
    const double pole = std::exp(-2.0 / static_cast<double>(holdLength));
    const std::vector<double> smooth = ZeroPhaseOnePole(hold, 1.0 - pole, 0.0, -pole);
    const std::vector<double> trail = SlidingMax(hold, holdLength);
    hold = {};

    BilinearLowPass fastRelease(std::min(kFastReleaseHz, 0.5 * rate * kBelowNyquist), rate);
    BilinearLowPass slowRelease(std::min(kSlowReleaseHz, 0.5 * rate * kBelowNyquist), rate);
    double* samples = buffer.samples.data();
    const size_t frames = need.size();
    for (size_t i = 0; i < frames; ++i)
    {
        const double fast = fastRelease.Step(trail[i]);
        const double fastHold = std::max(fast, trail[i]);
        const double release = std::max(slowRelease.Step(fastHold), fast);
        // need[i] alone guarantees gain <= ceiling / peak.
        const double gain = 1.0 - std::max({release, smooth[i], need[i]});
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
    // Written so that a NaN strength limits nothing.
    if (!(strength > 0.0))
    {
        return output;
    }
    LimitSamplePeaks(output, ceilingLinear, std::min(strength, 1.0));
    return output;
}
