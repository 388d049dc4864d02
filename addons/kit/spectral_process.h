#pragma once

#include "engine/audio_buffer.h"
#include "engine/chain/audio_processor.h"

#include <functional>
#include <vector>

// The process of the spectral add-ons around their spectral pass: the entry
// guard, the sample rate, the mix, the channels taken out of the interleaved
// buffer and the wet result written back.
//
// The rate is the context's if it is at least 1 Hz, else the buffer's if that
// is, else there is no rate and the buffer stays untouched. A mix (limited to
// 0..1) below 1e-6 leaves the buffer untouched too; from 0.999999 on the
// processed samples replace it; in between each sample is mixed with the dry
// one.

// The rate the spectral add-ons work at, or 0 when neither the context nor the
// buffer gives one.
double SpectralSampleRate(const AudioBuffer& buffer, const ProcessContext& context);

// One channel's samples, dry on entry, to be made wet in place.
using ChannelSpectralPass = std::function<void(std::vector<double>& samples, double sampleRate)>;

// Both channels' samples, dry on entry, to be made wet in place.
using StereoSpectralPass =
    std::function<void(std::vector<double>& left, std::vector<double>& right, double sampleRate)>;

// Runs the pass on the left channel, then on the right, each on its own, and
// writes each back before the next is taken out, so only one channel is held
// besides the buffer.
void ProcessEachChannelSpectrally(AudioBuffer& buffer, const ProcessContext& context, double mix,
                                  const ChannelSpectralPass& pass);

// Runs the pass once on both channels together.
void ProcessBothChannelsSpectrally(AudioBuffer& buffer, const ProcessContext& context, double mix,
                                   const StereoSpectralPass& pass);
