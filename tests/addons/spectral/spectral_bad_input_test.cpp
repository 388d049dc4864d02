// Bad input the spectral gate and spectral dynamics share beyond the add-on
// conformance frame: rates a direct caller may pass, a track shorter than a
// frame, samples that are not finite, cut-offs above half the rate.

#include "registry/addon_registry.h"

#include "tests/support/addon_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

namespace
{

const char* const kSpectralAddons[] = {"spectral_gate", "spectral_dynamics"};

// Full wet and no smoothing, so any change shows, and a threshold that the
// test signal's bins cross both ways.
const AddonSetting kWet = {{"mix", 1.0}, {"threshold_db", -20.0}};

class SpectralBadInput : public ::testing::TestWithParam<const char*>
{
protected:
    AudioBuffer Processed(AudioBuffer buffer, int contextRate, const AddonSetting& setting = kWet)
    {
        const std::unique_ptr<IAudioProcessor> addon = CreateProcessor(GetParam());
        EXPECT_NE(addon, nullptr) << GetParam();
        if (addon == nullptr)
        {
            return buffer;
        }
        for (const auto& [id, value] : setting)
        {
            EXPECT_TRUE(addon->setParameter(id, value)) << id;
        }
        ProcessContext context;
        context.sampleRate = contextRate;
        addon->process(buffer, context);
        return buffer;
    }
};

AudioBuffer Signal(int rate = 48000)
{
    AudioBuffer buffer = InterleaveStereo(Sine(1000.0, rate, FramesIn(0.5, rate), 0.5),
                                          Noise(FramesIn(0.5, rate), 0.01, 3), rate);
    return buffer;
}

} // namespace

// The rate comes from the context, then the buffer; with neither the buffer
// stays as it is.
TEST_P(SpectralBadInput, RateFallsBackToTheBufferThenLeavesTheTrackAlone)
{
    const AudioBuffer atRate = Processed(Signal(), 48000);
    EXPECT_FALSE(atRate.samples == Signal().samples) << "a real rate must process";
    EXPECT_TRUE(Processed(Signal(), 0).samples == atRate.samples) << "context 0, buffer 48000";
    EXPECT_TRUE(Processed(Signal(), -44100).samples == atRate.samples) << "context below 1";
    for (int bufferRate : {0, -48000})
    {
        AudioBuffer input = Signal();
        input.sampleRate = bufferRate;
        for (int contextRate : {0, -48000})
        {
            EXPECT_TRUE(Processed(input, contextRate).samples == input.samples)
                << "context " << contextRate << ", buffer " << bufferRate;
        }
    }
}

// A track shorter than a hop, even a single frame, still gets its four frames
// and comes back at full length and finite.
TEST_P(SpectralBadInput, ATrackOfOneFrameOrAFewIsProcessedWhole)
{
    for (std::size_t frames : {1u, 3u, 1000u})
    {
        AudioBuffer input;
        input.sampleRate = 48000;
        input.samples = Noise(2 * frames, 0.5, 9);
        const AudioBuffer output = Processed(input, 48000);
        ASSERT_EQ(output.samples.size(), input.samples.size());
        EXPECT_TRUE(AllFinite(output)) << frames << " frames";
    }
}

// Cut-offs above half the rate stop the band at its last bin: at 32 kHz a
// high cut-off of 20 kHz works exactly as one of 16 kHz, and every parameter
// at an extreme leaves the output finite.
TEST_P(SpectralBadInput, CutOffsAboveHalfTheRateStopAtTheLastBin)
{
    const AudioBuffer input = Signal(32000);
    const AudioBuffer atNyquist =
        Processed(input, 32000, {{"mix", 1.0}, {"high_freq_hz", 16000.0}});
    const AudioBuffer above = Processed(input, 32000, {{"mix", 1.0}, {"high_freq_hz", 20000.0}});
    EXPECT_TRUE(above.samples == atNyquist.samples);
    EXPECT_TRUE(AllFinite(above));
    const AudioBuffer smoothed = Processed(input, 32000, {{"mix", 1.0}, {"smoothing_bins", 12.0}});
    EXPECT_TRUE(AllFinite(smoothed));
}

// A value that is not a number or infinite spoils the frames it lies in (a
// frame's transform spreads it over every bin) and the followers it reaches,
// but the call ends, the other channel is untouched by it, and everything more
// than a frame and a hop before it (frames are transformed in pairs) comes out
// as without it.
TEST_P(SpectralBadInput, NonFiniteSamplesStayInTheirChannelAndAfterTheirFrames)
{
    const double inf = std::numeric_limits<double>::infinity();
    const AudioBuffer clean = Signal();
    const AudioBuffer cleanOutput = Processed(clean, 48000);
    const std::size_t badFrame = clean.samples.size() / 4;
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), inf, -inf})
    {
        AudioBuffer input = clean;
        input.samples[2 * badFrame] = bad;
        const AudioBuffer output = Processed(input, 48000);
        ASSERT_EQ(output.samples.size(), input.samples.size());
        for (std::size_t i = 0; i < output.samples.size() / 2; ++i)
        {
            ASSERT_EQ(output.samples[2 * i + 1], cleanOutput.samples[2 * i + 1])
                << bad << ": right channel, frame " << i;
            if (i + 4096 + 1024 <= badFrame)
            {
                ASSERT_EQ(output.samples[2 * i], cleanOutput.samples[2 * i])
                    << bad << ": left channel, frame " << i;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Spectral, SpectralBadInput, ::testing::ValuesIn(kSpectralAddons),
                         [](const ::testing::TestParamInfo<const char*>& info)
                         { return std::string(info.param); });
