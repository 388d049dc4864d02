#pragma once

#include <span>

// Pulls the side below a one-pole corner towards mono over the whole frames of
// interleaved stereo values: S' = S - amount * lowS, the mid untouched. The
// filter state carries on from `sideLow` and is left where the last frame put
// it; a trailing odd value is not touched.
void NarrowLowSide(std::span<double> interleaved, double& sideLow, double coefficient,
                   double amount);
