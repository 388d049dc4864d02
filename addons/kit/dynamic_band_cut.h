#pragma once

#include "addons/kit/state_variable_filter.h"
#include "engine/audio_buffer.h"
#include "engine/chain/audio_processor.h"

#include <array>

// A region of the spectrum, picked out by a state-variable filter per channel,
// is turned down only while its peak level stands over a threshold: by `slope`
// dB per dB over, at most by maxCutDb times the amount. The cut is the signal
// plus (G - 1) times the filter's output. The band output is used as it comes,
// 1/k at the centre, so there the linear gain is 1 + (G - 1)/k; the high output
// passes a tone far above f whole, so there it is G.

enum class BandCutOutput
{
    Band,
    High,
};

// The fixed character of one add-on's cut: the threshold is thresholdDb -
// thresholdPerAmountDb * amount.
struct DynamicBandCutLaw
{
    BandCutOutput output;
    double damping; // k
    double attackMs;
    double releaseMs;
    double thresholdDb;
    double thresholdPerAmountDb;
    double slope;
    double maxCutDb;
};

// What the cut carries from one call to the next: the filter states of the
// left and the right channel and the level follower.
struct DynamicBandCutState
{
    std::array<StateVariableState, 2> filters{};
    double envelope = 0.0;
};

// Cuts the band of whole stereo frames in place. The filter runs at the
// context's rate and the follower at the buffer's; the buffer is left as it is
// when the amount is 0 or less, the buffer holds no whole frame or an odd
// count of values, or either rate is 0 or less. The frequency is used as given.
void CutBandWhenLoud(AudioBuffer& buffer, const ProcessContext& context,
                     const DynamicBandCutLaw& law, double amount, double frequencyHz,
                     DynamicBandCutState& state);
