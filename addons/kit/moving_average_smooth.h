#pragma once

#include <vector>

// The radius of a "smoothing_bins" parameter: rounded half away from zero,
// never below 0.
int SmoothingRadius(double smoothingBins);

// Replaces every value i by the mean of the values max(0, i - radius) to
// min(count - 1, i + radius), the window shrinking at both ends; a radius below
// 1 leaves the values as they are. The means come from a running prefix sum of
// the values as they came in, so no output feeds another. `prefix` is working
// space, kept by the caller so that a frame loop allocates it once.
void MovingAverageSmooth(std::vector<double>& values, int radius, std::vector<double>& prefix);

// The same with working space of its own.
void MovingAverageSmooth(std::vector<double>& values, int radius);
