#pragma once

#include "addons/kit/decibel_gain_smoother.h"
#include "addons/kit/gain_mix.h"
#include "addons/kit/level_follower.h"
#include "addons/kit/stereo_level.h"
#include "engine/decibels.h"

#include <vector>

// The pass the two expanders share: an RMS follower in amplitude gives each
// frame's level, the expander's curve turns it into a target gain in dB, and
// the gain is smoothed towards it in dB with the follower's coefficients, in
// the direction the expander names, before the gain mix.
struct SmoothedExpansion
{
    double attack;
    double release;
    GainAttack attackWhen;
    double mix; // wet share, 0..1
};

// Expands the whole frames of interleaved stereo values in place, one gain for
// both channels of a frame; follower and gain start at 0. targetDb(levelDb)
// is the expander's static curve. A trailing odd value is not touched.
template <class Curve>
void ExpandSmoothed(std::vector<double>& x, const SmoothedExpansion& settings, Curve targetDb)
{
    double follower = 0.0;
    double gainDb = 0.0;
    for (size_t i = 0; i + 1 < x.size(); i += 2)
    {
        FollowLevel(follower, StereoRmsLevel(x[i], x[i + 1]), settings.attack, settings.release);
        SmoothGainDb(gainDb, targetDb(DecibelLevel(follower)), settings.attack, settings.release,
                     settings.attackWhen);
        GainMixFrame(x[i], x[i + 1], DbToGain(gainDb), settings.mix);
    }
}
