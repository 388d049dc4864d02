#pragma once

#include "engine/audio_buffer.h"
#include "engine/dsp/oversampler.h"

#include <cstddef>
#include <functional>

// Changes a run of oversampled frames [begin, end), the next in order, in
// place: window holds frames windowFirst .. end - 1 + reach (clipped to the
// signal), those from begin on as the oversampler made them.
using OversampledRunChange = std::function<void(std::size_t begin, std::size_t end, double* window,
                                                std::size_t windowFirst)>;

// Downsample(change(Upsample(input))) into output (2 * input.FrameCount()
// values), the very values of the whole-buffer route, without the oversampled
// copy of the whole track: the input is upsampled a few thousand frames at a
// time onto the end of a window, every frame whose reach is at hand is
// changed, every output whose taps are all changed is brought down, and what
// no output reads any more is dropped. The input must pass the oversampler's
// checks and hold frames.
void StreamOversampled(const AudioBuffer& input, const Oversampler& oversampler, std::size_t reach,
                       const OversampledRunChange& change, double* output);
