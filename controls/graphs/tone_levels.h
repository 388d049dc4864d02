#pragma once

#include "engine/audio_buffer.h"

#include <array>
#include <cstddef>

// The level of four broad bands (Low 30-120 Hz, Low-Mid 120-800 Hz, High-Mid
// 800-4000 Hz, High 4000-16000 Hz) in a window around the cursor, and what
// the tone graph draws of them.

constexpr std::size_t kToneBands = 4;
using ToneLevels = std::array<double, kToneBands>;

// Each band's mean power at six log-spaced probes over the window's
// Hann-windowed mid signal, in dB (10 log10), the two inner bands then
// smoothed with their neighbours (0.22, 0.56, 0.22). A band that the points
// cannot carry (above 0.475 of the buffer's or the points' rate) keeps 0 dB;
// so do all four for a rate of 0 or less or fewer than two samples.
ToneLevels ToneBandLevels(const AudioBuffer& audio, double cursorSec, double windowSec);

// What the curve shows: with a processed copy of a frame or more, the
// processed level less the source level, held to +-6 dB (Delta); otherwise
// the source levels, held to -60..+12 dB (Profile). The scale is the largest
// value's size, or 2 (Delta) or 12 (Profile) dB when that is 0.2 dB or less.
struct ToneCurve
{
    bool delta = false;
    ToneLevels values{};
    double scaleDb = 12.0;
};
ToneCurve ToneCurveOf(const AudioBuffer& source, const AudioBuffer& processed, double cursorSec,
                      double windowSec);
