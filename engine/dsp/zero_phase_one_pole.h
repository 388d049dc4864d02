#pragma once

#include <span>
#include <vector>

// The first-order filter y[i] = b0 x[i] + z, z <- b1 x[i] - a1 y[i], run forwards
// and then backwards so that the result has no delay and the input's length.
// Each direction starts from the steady state of its first value; inputs of 8
// or more samples are first extended by 3 odd-mirrored samples at each end
// (removed again), so a constant or a straight line passes unbent at the ends.
std::vector<double> ZeroPhaseOnePole(std::span<const double> x, double b0, double b1, double a1);

// The same, overwriting x with the result (no whole-signal copy).
void ZeroPhaseOnePoleInPlace(std::span<double> x, double b0, double b1, double a1);
