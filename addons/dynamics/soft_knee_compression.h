#pragma once

#include <vector>

// How a compressor reads the level of a frame.
enum class FrameLevel
{
    Rms,
    Peak,
};

// A stereo-linked compressor with a 6 dB soft knee, as the standard and the
// vintage compressors share it; the coefficients come from TimeCoefficient and
// the make-up is linear.
struct SoftKneeCompression
{
    FrameLevel level;
    double attack;
    double release;
    double thresholdDb;
    double ratio;
    double makeup;
    double mix; // wet share, 0..1
};

// Compresses the whole frames of interleaved stereo values in place, one gain
// for both channels of a frame, with a follower that starts from 0. A trailing
// odd value is not touched.
void CompressSoftKnee(std::vector<double>& interleaved, const SoftKneeCompression& settings);
