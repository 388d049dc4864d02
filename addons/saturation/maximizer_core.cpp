#include "addons/saturation/maximizer_core.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/dc_blocker.h"
#include "addons/kit/level_follower.h"
#include "addons/kit/peak_rescale.h"
#include "addons/kit/time_coefficient.h"
#include "engine/decibels.h"
#include "engine/dsp/one_pole_low_pass.h"
#include "engine/stages/limiter_input.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr double kLowCornerHz = 150.0;
constexpr double kSplitCornerHz = 1200.0;
constexpr double kSilentPeak = 1e-12;

// The low-pass pole at a corner held under 0.45 fs; a rate of 0 or less
// freezes the filter at its starting 0.
double BandPole(double cornerHz, double fs)
{
    return fs > 0.0 ? OnePoleCoefficient(std::min(0.45 * fs, cornerHz), fs) : 1.0;
}

} // namespace

void MaximizerCore::prepare()
{
    const double fs = sampleRate;
    const double highAttackMs = reduceFatigue ? 2.5 : 1.0;
    const double lowAttackMs = reduceFatigue ? 10.0 : 5.0;
    for (MaximizerChannelState& state : channelStates)
    {
        state.lowCoef = BandPole(kLowCornerHz, fs);
        state.splitCoef = BandPole(kSplitCornerHz, fs);
        // TimeCoefficient gives 0 at a rate of 0 or less: the followers follow at once.
        state.highAttack = TimeCoefficient(std::max(highAttackMs, 0.1), fs);
        state.highRelease = TimeCoefficient(80.0, fs);
        state.lowAttack = TimeCoefficient(std::max(lowAttackMs, 0.1), fs);
        state.lowRelease = TimeCoefficient(150.0, fs);
        // A corner near 3 Hz (20 / fs below 1), kept between 0.9 and 0.9999.
        state.dcPole = fs > 0.0 ? ClampToRange(1.0 - 20.0 / fs, 0.9, 0.9999) : 0.995;
    }
}

double MaximizerCore::processSample(double x, MaximizerChannelState& state) const
{
    const double low = OnePoleLowPassStep(state.lowState, x, state.lowCoef);
    const double belowSplit = OnePoleLowPassStep(state.splitState, x, state.splitCoef);
    const double high = x - belowSplit;
    const double mid = belowSplit - low;

    const double contour = reduceFatigue ? 0.85 * contourAmount : contourAmount;
    const double process = reduceFatigue ? 0.65 * processAmount : processAmount;
    FollowLevel(state.lowEnvelope, std::fabs(low), state.lowAttack, state.lowRelease);
    FollowLevel(state.highEnvelope, std::fabs(high), state.highAttack, state.highRelease);
    const double lowGain =
        DbToGain(std::min(3.0 * state.lowEnvelope, 1.0) * 0.08 * contour + 0.55 * contour);
    const double highGain =
        DbToGain(0.1 * process * std::min(4.0 * state.highEnvelope, 1.0) + 0.45 * process);
    const double midGain = reduceFatigue ? DbToGain(-0.5) : 1.0;

    const double y = (mid * midGain + low * lowGain + high * highGain) * trim;
    return DcBlockStep(state.lastOutput, state.dcOutput, y, state.dcPole);
}

void MaximizerCore::processBuffer(std::vector<double>& samples)
{
    if (samples.empty() || channelCount < 1 ||
        channelStates.size() < static_cast<size_t>(channelCount))
    {
        return;
    }
    const double inPeak = LargestMagnitude(samples);
    if (inPeak <= kSilentPeak)
    {
        return;
    }
    const size_t channels = static_cast<size_t>(channelCount);
    size_t channel = 0;
    for (double& value : samples)
    {
        value = processSample(value, channelStates[channel]);
        channel = channel + 1 == channels ? 0 : channel + 1;
    }
    RescaleToInputPeak(samples, inPeak, kSilentPeak);
}
