#pragma once

#include "engine/decibels.h"

// Static gain laws of a compressor: the gain in dB for a level `overDb` above
// the threshold (negative below it) at a ratio. Above the threshold the output
// level rises 1/ratio dB per input dB, so the gain falls (1 - 1/ratio) dB.

// The knee is a corner at the threshold.
inline double HardKneeGainDb(double overDb, double ratio)
{
    return overDb > 0.0 ? -(1.0 - 1.0 / ratio) * overDb : 0.0;
}

// Half the width of the soft knee, centred on the threshold.
inline constexpr double kSoftKneeHalfWidthDb = 3.0;

// The corner rounded by a parabola over kneeWidthDb (above 0) centred on the
// threshold: it meets the hard law at both edges with the same value and the
// same slope.
inline double SoftKneeGainDb(double overDb, double ratio, double kneeWidthDb)
{
    const double slope = 1.0 - 1.0 / ratio;
    const double halfWidth = 0.5 * kneeWidthDb;
    if (overDb <= -halfWidth)
    {
        return 0.0;
    }
    if (overDb < halfWidth)
    {
        const double into = overDb + halfWidth;
        return -slope * (into * into) / (2.0 * kneeWidthDb);
    }
    return -slope * overDb;
}

// The soft knee of the bus compressors, 6 dB wide.
inline double SoftKneeGainDb(double overDb, double ratio)
{
    return SoftKneeGainDb(overDb, ratio, 2.0 * kSoftKneeHalfWidthDb);
}

// The linear gain of a law's value in dB with a linear make-up gain on top.
// Where the law gives 0 dB (below the knee, most of the time) it is exactly the
// make-up, and no power is worked out.
inline double MadeUpGain(double gainDb, double makeup)
{
    return gainDb == 0.0 ? makeup : DbToGain(gainDb) * makeup;
}
