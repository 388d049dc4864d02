#pragma once

#include "engine/audio_buffer.h"
#include "engine/chain/audio_processor.h"

#include <cstddef>
#include <functional>
#include <span>
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

// An amount or a mix below this changes nothing worth a pass: the buffer stays
// as it is.
inline constexpr double kLeastSpectralShare = 1e-6;

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

// One channel's dry samples, read by an add-on that measures the whole track
// before it changes any of it; channel 0 is the left, 1 the right.
using ChannelMeasure =
    std::function<void(std::size_t channel, std::span<const double> samples, double sampleRate)>;

// One channel's samples, dry on entry, to be made wet in place, told which
// channel it is.
using IndexedChannelPass =
    std::function<void(std::size_t channel, std::vector<double>& samples, double sampleRate)>;

// Measures the left channel, then the right, and only then runs the pass on
// the left and the right as ProcessEachChannelSpectrally does: a measurement
// that fails leaves the buffer as it was.
void MeasureThenProcessEachChannelSpectrally(AudioBuffer& buffer, const ProcessContext& context,
                                             double mix, const ChannelMeasure& measure,
                                             const IndexedChannelPass& pass);

// Runs the pass once on both channels together.
void ProcessBothChannelsSpectrally(AudioBuffer& buffer, const ProcessContext& context, double mix,
                                   const StereoSpectralPass& pass);
