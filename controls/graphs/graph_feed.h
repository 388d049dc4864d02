#pragma once

#include "engine/audio_buffer.h"

#include <cstddef>

// How every analysis graph reads its copy of the audio: frames around a
// cursor, over a window of seconds.

// Every graph's window length is held to this range.
constexpr double kShortestGraphWindowSec = 0.02;
constexpr double kLongestGraphWindowSec = 0.25;

// A new window length for a graph: held to the range above. False, with
// `windowSec` left alone, for a NaN or a change below 1e-4.
bool TakeWindowSeconds(double& windowSec, double seconds);

// The graph's copy has something to analyse: a positive rate and a frame.
bool HasAudio(const AudioBuffer& audio);

// Whether `a` and `b` hold the same rate and samples (a NaN never matches).
bool SameAudio(const AudioBuffer& a, const AudioBuffer& b);

// The frame under `cursorSec`, held to the copy (HasAudio must hold).
std::size_t CursorFrame(const AudioBuffer& audio, double cursorSec);

// Frames [begin, end) of a window.
struct FrameRange
{
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t size() const { return end - begin; }
};

// The window length in frames: the rate times the seconds, at least `floor`.
std::size_t WindowFrames(const AudioBuffer& audio, double windowSec, std::size_t floor);

// `frames` centred on the cursor frame, cut at both ends of the copy.
FrameRange CentredWindow(const AudioBuffer& audio, double cursorSec, std::size_t frames);

// A sample as the analyses read it: a value that is not finite counts as 0.
inline double Finite(double sample)
{
    return sample - sample == 0.0 ? sample : 0.0;
}

// Frames from `half` before the cursor frame to `half` after it (the cursor
// frame included, the last one not), cut at both ends of the copy.
FrameRange SymmetricWindow(const AudioBuffer& audio, double cursorSec, std::size_t half);
