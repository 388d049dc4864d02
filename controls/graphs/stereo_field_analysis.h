#pragma once

#include "engine/audio_buffer.h"

#include <array>
#include <cstddef>

// Where the level of a window sits between hard left and hard right, and the
// level-weighted balance of one band, as the stereo field graph reads them.

// Bin 0 is hard left, 60 the centre, 120 hard right.
constexpr std::size_t kStereoFieldBins = 121;
using PolarDistribution = std::array<double, kStereoFieldBins>;

// For each frame of the window around the cursor, a = |L| + |R| (frames with
// a <= 1e-6 are skipped) falls in the bin of its position (|R| - |L|) / a and
// raises it to a / 2; then the inner bins are smoothed once by 0.22, 0.56,
// 0.22. All zero for a rate below 1 or fewer than two samples. A sample that
// is not finite counts as 0.
PolarDistribution StereoPolarDistribution(const AudioBuffer& audio, double cursorSec,
                                          double windowSec);

// The two corners of a band's filters: the high-pass corner `lowHz` and the
// low-pass corner `highHz`, held below the Nyquist frequency. A band asked
// with no upper edge (0) uses its lower edge for both.
struct BandCorners
{
    double lowHz = 0.0;
    double highHz = 0.0;
};
BandCorners BalanceBandCorners(double rate, double lowHz, double highHz);

// The mean left/right balance (-1 left, +1 right) of a band, each frame
// weighted by the band's level in it. Invalid for silence in the band (a
// total weight of 1e-6 or less, or no frame weighing 0.01) and for a copy
// with a rate below 1 or fewer than two samples.
struct BandBalance
{
    bool valid = false;
    double mean = 0.0;
};
BandBalance StereoBandBalance(const AudioBuffer& audio, double cursorSec, double windowSec,
                              double lowHz, double highHz);

// The lowest and highest balance seen since the last reset.
struct HeldRange
{
    bool held = false;
    float min = 0.0f;
    float max = 0.0f;
};

// The range after one more valid mean: the mean alone when nothing is held
// yet, otherwise widened to take it in.
HeldRange Widened(HeldRange range, double mean);
