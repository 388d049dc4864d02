#pragma once

#include <vector>

// One channel of the maximizer: two one-pole low-passes that split it into
// low (under 150 Hz), mid and high (over 1200 Hz) bands, a level follower on
// the low and on the high band, and the DC blocker at the end. The states
// start at 0; MaximizerCore::prepare fills the coefficients.
struct MaximizerChannelState
{
    double lowCoef = 0.0; // the 150 Hz low-pass
    double lowState = 0.0;
    double splitCoef = 0.0; // the 1200 Hz low-pass
    double splitState = 0.0;
    double highAttack = 0.0;
    double highRelease = 0.0;
    double highEnvelope = 0.0;
    double lowAttack = 0.0;
    double lowRelease = 0.0;
    double lowEnvelope = 0.0;
    double lastOutput = 0.0; // the previous value before the DC blocker
    double dcOutput = 0.0;   // the DC blocker's previous output
    double dcPole = 0.0;
};
static_assert(sizeof(MaximizerChannelState) == 13 * sizeof(double));

// The band work of the maximizer over one interleaved list, built afresh for
// every call: the low band is lifted by 0.55 to 0.63 dB per unit of contour,
// the high band by 0.45 to 0.55 dB per unit of process, each the more as its
// band gets louder; the mid band stays (or is cut 0.5 dB to reduce fatigue),
// and everything is made down by trim.
class MaximizerCore
{
public:
    // Fills the coefficients of every channel state from sampleRate and
    // reduceFatigue. At a rate of 0 or less the low-passes hold still (their
    // coefficients are 1, so low and mid are silent and the whole signal is
    // the high band), the followers follow at once and the DC pole is 0.995.
    void prepare();

    // One value of the channel whose state is given.
    double processSample(double x, MaximizerChannelState& state) const;

    // Every value in turn through the state of its channel (value i through
    // channel i mod channelCount, so a trailing odd value goes through the
    // first), then the list is scaled back to its input peak if it rose above
    // it. A list whose peak is at most 1e-12 is left as it is, as is any list
    // when there are fewer states than channelCount.
    void processBuffer(std::vector<double>& samples);

    std::vector<MaximizerChannelState> channelStates;
    double sampleRate = 0.0; // Hz
    int channelCount = 2;
    double contourAmount = 0.0; // 0..10, the low lift
    double processAmount = 0.0; // 0..10, the high lift
    bool reduceFatigue = true;
    double trim = 1.0; // linear, on every output value
};
