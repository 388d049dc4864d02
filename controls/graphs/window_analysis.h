#pragma once

#include "controls/graphs/graph_feed.h"
#include "engine/audio_buffer.h"

#include <complex>
#include <cstddef>
#include <vector>

// The spectral graphs' reading of a window: which frames it holds, its mid
// signal as a fixed number of Hann-windowed points, and the level of those
// points at single probe frequencies.

// The frame at `seconds`: the rate times the time held to [0, frames / rate],
// at most the last frame; 0 for a copy with no audio or a NaN time.
std::size_t FrameAt(const AudioBuffer& audio, double seconds);

// The frames from FrameAt(cursor - window / 2) up to FrameAt(cursor + window / 2),
// and always at least the first of them.
FrameRange WindowAroundCursor(const AudioBuffer& audio, double cursorSec, double windowSec);

// The mid signal (L + R) / 2 of a window spread over evenly spaced points and
// tapered by a Hann window, with the rate at which those points follow each
// other. The rate is the buffer's only when the points and the frames agree
// in number; a probe frequency means something only against this rate.
struct ResampledWindow
{
    std::vector<double> points;
    double rate = 0.0;       // points per second
    double sourceRate = 0.0; // frames per second of the buffer

    // The highest frequency worth a probe: below both the buffer's and the
    // points' Nyquist frequency, with a margin (0.475 of the lower rate).
    double HighestProbeHz() const;
};

// The window's frames taken at `count` evenly spaced points (`count` being its
// frame count held to [fewest, most]): point i reads frame
// begin + floor(i / (count - 1) x (frames - 1)), a sample that is not finite
// counting as 0, and is weighted by 0.5 - 0.5 cos(2 pi i / (count - 1)).
// Empty for a copy with no audio.
ResampledWindow HannResample(const AudioBuffer& audio, const FrameRange& window, std::size_t fewest,
                             std::size_t most);

// How many points per second `points` evenly spaced points make when they
// cover `frames` consecutive frames at `rate` (first and last frame
// included): rate x (points - 1) / (frames - 1). With one frame or one point
// there is no spacing; the rate itself is returned.
double ResampledRate(double rate, std::size_t points, std::size_t frames);

// `count` frequencies from `lowHz` to `highHz`, both included, spaced evenly
// on a log axis: low x (high / low)^(k / (count - 1)). One probe sits at `lowHz`.
std::vector<double> LogSpacedProbes(double lowHz, double highHz, std::size_t count);

// One bin of a discrete Fourier transform at any frequency:
// sum of points[i] x exp(-j 2 pi f i / rate), so re = sum x cos and
// im = -(sum x sin). A cosine of amplitude A on the probe's frequency over N
// points (a whole number of periods) gives a magnitude of A N / 2.
std::complex<double> SingleBin(const std::vector<double>& points, double frequencyHz,
                               double pointsRate);
