#pragma once

#include "controls/graphs/window_analysis.h"
#include "engine/audio_buffer.h"

#include <array>
#include <cstddef>

// The energy of eighteen log-spaced bands in a window around the cursor, and
// what the energy delta graph draws of them.

constexpr std::size_t kEnergyBands = 18;
using EnergyLevels = std::array<double, kEnergyBands>;

// The floor and ceiling of a band's level, dB.
constexpr double kEnergyFloorDb = -60.0;
constexpr double kEnergyCeilingDb = 0.0;

struct EnergyBand
{
    double lowHz = 0.0;
    double highHz = 0.0; // not above lowHz: the band is not measured
};

// The bands for `sampleRate`: log-spaced from 30 Hz to 16 kHz, or to 0.92 of
// the Nyquist frequency when that is below 18 kHz; none reaches below 20 Hz
// or above 0.95 of the Nyquist frequency.
std::array<EnergyBand, kEnergyBands> EnergyBandsFor(int sampleRate);

// The window's mid signal as 256 to 4096 Hann-weighted points.
ResampledWindow EnergyWindow(const AudioBuffer& audio, double cursorSec, double windowSec);

// Each band's level: the mean magnitude at seven log-spaced probes over the
// window's Hann-windowed mid signal, scaled so that a full-scale sine on a
// probe reads 0 dB, in dB held to -60..0. A band the points cannot carry
// (above 0.475 of the buffer's or the points' rate) keeps -60, and so do all
// eighteen for a rate of 0 or less or fewer than two samples.
EnergyLevels EnergyBandLevels(const AudioBuffer& audio, double cursorSec, double windowSec);

// What the bars show: with processed audio (Delta), the processed level less
// the source level, held to +-10 dB; otherwise (Profile) the source levels.
// The scale is the largest value's size.
struct EnergyBars
{
    bool delta = false;
    EnergyLevels values{};
    double scaleDb = 0.0;
};
EnergyBars EnergyBarsOf(const AudioBuffer& source, const AudioBuffer& processed, double cursorSec,
                        double windowSec);
