#pragma once

#include <cmath>

// The smoothing coefficient of a time constant: c = exp(-1 / (t * fs)) with t
// in seconds, so that a one-pole smoother y = (1 - c) x + c y covers 1 - 1/e of
// a step in t. Each caller applies its own floor to a time set by a parameter
// first. A time or a rate of 0 or less gives 0 (the smoother follows its input
// at once) instead of a coefficient of 1 or more, which would never settle or
// would blow up.
inline double TimeCoefficient(double timeMs, double sampleRateHz)
{
    const double timeFrames = timeMs * 0.001 * sampleRateHz;
    if (!(timeFrames > 0.0))
    {
        return 0.0;
    }
    return std::exp(-1.0 / timeFrames);
}
