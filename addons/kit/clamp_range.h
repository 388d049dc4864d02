#pragma once

// Limits a value to [lowest, highest] without the precondition of std::clamp:
// when the limits cross (a limit tied to a very low sample rate falling under a
// fixed one) the highest limit wins, so a corner frequency never passes the
// limit that keeps its filter stable. A NaN value gives the lowest limit (then
// the highest, when they cross), so nothing that is not a number gets through.
inline double ClampToRange(double value, double lowest, double highest)
{
    if (!(value >= lowest))
    {
        value = lowest;
    }
    if (value > highest)
    {
        value = highest;
    }
    return value;
}
