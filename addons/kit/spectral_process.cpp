#include "addons/kit/spectral_process.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/wet_dry_mix.h"

#include <cstddef>
#include <optional>

namespace
{

constexpr double kFullMix = 0.999999;

struct SpectralCall
{
    double sampleRate;
    double mix;
};

// The rate and the mix of a call that is to be processed, or nothing when the
// buffer is to stay as it is.
std::optional<SpectralCall> AcceptCall(const AudioBuffer& buffer, const ProcessContext& context,
                                       double mixParameter)
{
    const SpectralCall call{SpectralSampleRate(buffer, context),
                            ClampToRange(mixParameter, 0.0, 1.0)};
    if (!IsWholeStereoBuffer(buffer) || call.sampleRate < 1.0 || call.mix < kLeastSpectralShare)
    {
        return std::nullopt;
    }
    return call;
}

std::vector<double> TakeChannel(const AudioBuffer& buffer, std::size_t channel)
{
    const std::size_t frames = buffer.samples.size() / 2;
    std::vector<double> samples(frames);
    for (std::size_t i = 0; i < frames; ++i)
    {
        samples[i] = buffer.samples[2 * i + channel];
    }
    return samples;
}

void WriteChannelBack(const std::vector<double>& wet, double mix, std::size_t channel,
                      AudioBuffer& buffer)
{
    for (std::size_t i = 0; i < wet.size(); ++i)
    {
        double& value = buffer.samples[2 * i + channel];
        value = mix >= kFullMix ? wet[i] : MixWetDry(wet[i], value, mix);
    }
}

} // namespace

double SpectralSampleRate(const AudioBuffer& buffer, const ProcessContext& context)
{
    if (context.sampleRate >= 1)
    {
        return context.sampleRate;
    }
    if (buffer.sampleRate >= 1)
    {
        return buffer.sampleRate;
    }
    return 0.0;
}

void ProcessEachChannelSpectrally(AudioBuffer& buffer, const ProcessContext& context, double mix,
                                  const ChannelSpectralPass& pass)
{
    MeasureThenProcessEachChannelSpectrally(buffer, context, mix, nullptr,
                                            [&](std::size_t, std::vector<double>& samples,
                                                double sampleRate) { pass(samples, sampleRate); });
}

void MeasureThenProcessEachChannelSpectrally(AudioBuffer& buffer, const ProcessContext& context,
                                             double mix, const ChannelMeasure& measure,
                                             const IndexedChannelPass& pass)
{
    const std::optional<SpectralCall> call = AcceptCall(buffer, context, mix);
    if (!call)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    if (measure)
    {
        for (std::size_t channel = 0; channel < 2; ++channel)
        {
            measure(channel, TakeChannel(buffer, channel), call->sampleRate);
        }
    }
    for (std::size_t channel = 0; channel < 2; ++channel)
    {
        std::vector<double> samples = TakeChannel(buffer, channel);
        pass(channel, samples, call->sampleRate);
        WriteChannelBack(samples, call->mix, channel, buffer);
    }
}

void ProcessBothChannelsSpectrally(AudioBuffer& buffer, const ProcessContext& context, double mix,
                                   const StereoSpectralPass& pass)
{
    const std::optional<SpectralCall> call = AcceptCall(buffer, context, mix);
    if (!call)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    std::vector<double> left = TakeChannel(buffer, 0);
    std::vector<double> right = TakeChannel(buffer, 1);
    pass(left, right, call->sampleRate);
    WriteChannelBack(left, call->mix, 0, buffer);
    WriteChannelBack(right, call->mix, 1, buffer);
}
