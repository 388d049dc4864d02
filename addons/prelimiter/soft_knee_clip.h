#pragma once

#include <cmath>

// A hard clipper at ±1 with a knee of width w below full scale: up to 1 - w a
// value passes untouched; within the knee its magnitude follows a parabola
// that starts flat at 1 - w and has risen only to 1 - 0.75 w at full scale;
// above full scale it is held at exactly ±1, so the curve steps up there. The
// knee holds the loudest values under the clip level instead of rounding into
// it. A knee of 0.001 or less is a plain clamp.
inline double SoftKneeClip(double v, double w)
{
    if (w <= 0.001)
    {
        return v > 1.0 ? 1.0 : (v < -1.0 ? -1.0 : v);
    }
    const double kneeStart = 1.0 - w;
    const double magnitude = std::fabs(v);
    if (magnitude <= kneeStart)
    {
        return v;
    }
    if (magnitude > 1.0)
    {
        return v > 0.0 ? 1.0 : -1.0;
    }
    const double into = magnitude - kneeStart;
    const double bent = into * into / (4.0 * w) + kneeStart;
    return v > 0.0 ? bent : -bent;
}
