#pragma once

#include <vector>

// Keeps a processor from making a track louder at its loudest: when the
// values' peak has risen above the peak the input had, every value is scaled
// by inputPeak / that peak, so the shape stays and the loudest value lands on
// the input's peak, never a rounding step above it. Nothing happens unless
// inputPeak is above threshold (an input at or under it counts as silence,
// whose level cannot be restored). Peaks are the largest finite |value|
// (LargestMagnitude, engine/stages/limiter_input.h, which also measures
// inputPeak). Returns whether the values were scaled.
bool RescaleToInputPeak(std::vector<double>& values, double inputPeak, double threshold);
