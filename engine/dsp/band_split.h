#pragma once

#include <span>
#include <vector>

// Splits a signal into bandCount bands at crossovers spaced evenly on a log
// scale between 80 Hz and min(0.45 * sampleRate, 16 kHz) (at least 100 Hz).
// Each crossover is a one-pole low-pass; a band is the difference of two
// neighbouring low-passes, so the bands add up to the signal (to rounding).
// A band count below 1 counts as 1, which returns a copy of the signal.
// Throws std::runtime_error "Band split sample rate must be > 0".
std::vector<std::vector<double>> SplitIntoBands(std::span<const double> x, int sampleRate,
                                                int bandCount);

// Crossover j (1 .. bandCount - 1) in Hz, as SplitIntoBands places it.
double BandCrossoverHz(int sampleRate, int bandCount, int j);

// The one-pole coefficient (OnePoleCoefficient) of crossover j, its corner held
// within [1 Hz, 0.999 x Nyquist]; the sample rate must be above 0.
double BandCrossoverCoefficient(int sampleRate, int bandCount, int j);
