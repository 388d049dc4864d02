#pragma once

#include "engine/audio_buffer.h"
#include "engine/stages/limiter_mode.h"
#include "engine/stages/lookahead_limiter.h"

// The three peak limiters that end every run. Each works offline on a whole
// stereo buffer, leaves its input untouched and returns a new buffer with the
// input's rate and frame count. Ceilings are linear amplitudes (1.0 = full
// scale); strength is the share of the limiting applied (0 keeps the input,
// above 1 counts as 1). Both channels of a frame always receive the same gain.
//
// Common refusals (std::runtime_error): a ceiling that is not a positive
// number ("Limiter ceiling must be > 0"), a non-empty buffer at a rate of 0 or
// less ("Limiter sample rate must be > 0"), an odd sample count (the
// oversampler's "Oversampler requires interleaved stereo input" where one is
// used, else "Limiter requires interleaved stereo input").
// Non-finite samples never steer the gain: they pass through where they are
// and leave the gain of their neighbours alone.

// Sample-peak limiter: a centred 2-ms hold of the needed reduction, smoothed
// without delay and released slowly. At full strength no sample of the result
// exceeds the ceiling; a buffer already within it comes back as an exact copy.
AudioBuffer StandardLimit(const AudioBuffer& input, double ceilingLinear, double strength);

// StandardLimit run at 2x or 4x the rate, brought back down and trimmed so that
// the estimated true peak stays within the ceiling. Factor 1 is StandardLimit.
// Throws "True-peak limiter oversample factor must be 1, 2, or 4".
AudioBuffer TruePeakLimit(const AudioBuffer& input, double ceilingLinear, int oversampleFactor,
                          double strength);

// LookaheadLimiter{ceiling, factor, strength}.Process(input), after the factor
// check. Throws "Lookahead limiter oversample factor must be 1, 2, or 4".
AudioBuffer LookaheadLimit(const AudioBuffer& input, double ceilingLinear, int oversampleFactor,
                           double strength);

// The limiter a run chooses by its LimiterMode; any other value is standard
// (which ignores the oversample factor).
AudioBuffer Stage4Limit(const AudioBuffer& input, double ceilingLinear, int limiterMode,
                        int oversampleFactor, double strength);

// Stage4Limit on a buffer its caller has no further use for, whose storage
// the result takes: the standard limiter works on it in place, sparing a
// whole-track copy; the oversampled ones read it whole and replace it.
void Stage4LimitInPlace(AudioBuffer& buffer, double ceilingLinear, int limiterMode,
                        int oversampleFactor, double strength);

// Scales the buffer down, in at most two passes, until its peak is within the
// ceiling. With factor > 1 the peak is the true peak estimated on a copy
// oversampled by max(factor, 4); with factor 1 it is the sample peak. Refuses
// what the limiters refuse.
void PeakTrimLoop(AudioBuffer& buffer, double ceilingLinear, int oversampleFactor);
