#pragma once

#include <cstddef>
#include <span>
#include <vector>

// The reverb floor of one channel: for every bin, a low quantile of the bin's
// magnitude over all frames of the track. A tail that rings on between the
// notes keeps a bin's magnitude from falling to silence, so the quieter frames
// of the bin read the level of the room rather than of the notes; the longer
// the reverb, the more of the frames lie in its tail and the higher the
// quantile that still reads it.

// The quantile for a reverb time: 0.1 + 0.15 log2 of the hops that fit into a
// quarter of the reverb time (at least 50 ms), held to 0.1 .. 0.45.
double ReverbFloorQuantile(double reverbTimeMs, double sampleRate);

// The linearly interpolated q-quantile of the values: with v the values in
// ascending order and p = (n - 1) q, v[floor(p)] moved towards the next value
// by the fraction of p. Values that are not a number count as above every
// other, so they never decide a quantile that the numbers can. The values are
// reordered; none gives 0.
double InterpolatedQuantile(std::span<double> values, double q);

// Each bin's floor of one channel's samples at the rate, with the frame of
// the spectral add-ons (N = 4096): 2049 values. The magnitudes of every frame
// are held at once, one block of frames x 2049 values, taken once and freed on
// return.
std::vector<double> EstimateReverbFloor(std::span<const double> samples, double sampleRate,
                                        double reverbTimeMs);
