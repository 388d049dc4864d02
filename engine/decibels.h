#pragma once

#include <algorithm>
#include <cmath>

// Conversions between decibels and linear amplitude (1.0 = full scale). Every
// stage converts through these two so that the floor is applied the same way.

inline double DbToGain(double gainDb)
{
    return std::pow(10.0, gainDb / 20.0);
}

// The gain is raised to floorGain before the logarithm, so a silent signal reads
// the floor's level instead of -infinity. A floor of 0 keeps -infinity for silence.
inline double GainToDb(double gain, double floorGain)
{
    return 20.0 * std::log10(std::max(gain, floorGain));
}
