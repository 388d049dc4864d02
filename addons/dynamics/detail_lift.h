#pragma once

#include "addons/dynamics/soft_knee_compression.h"
#include "engine/audio_buffer.h"

#include <vector>

// The upward lift of quiet detail that the two detail lifters share: under the
// threshold, each dB the followed level falls gives `liftPerDb` dB of gain, up
// to the cap, applied at once (no smoothing of the gain itself).
struct DetailLift
{
    FrameLevel level;
    double attack;
    double release;
    double thresholdDb;
    double liftPerDb;
    double capDb;
    double mix; // wet share, 0..1
};

// Lifts the whole frames of interleaved stereo values in place, one gain for
// both channels of a frame. The follower starts from 0, so the opening frames
// read as quiet and get the full cap until it has risen. A trailing odd value
// is not touched.
void LiftDetail(std::vector<double>& interleaved, const DetailLift& settings);

// How a detail lifter hears and answers: its follower's level and times, and
// the threshold its amount sets, thresholdAtZeroDb + thresholdPerAmountDb *
// amount.
struct DetailLifterVoicing
{
    FrameLevel level;
    double attackMs;
    double releaseMs;
    double thresholdAtZeroDb;
    double thresholdPerAmountDb;
    double liftPerDb;
};

// The whole process of a detail lifter with the stored amount, lift and mix:
// the cap is amount * liftDb. The buffer is left untouched at an amount of 0
// or less, without a whole frame, with an odd count or at a buffer rate of 0
// or less. There is no early return on the mix: at mix 0 every value is
// written back as it was.
void LiftQuietDetail(AudioBuffer& buffer, const DetailLifterVoicing& voicing, double amount,
                     double liftDb, double mix);
