#include "addons/kit/spectral_process.h"

#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

AudioBuffer Track(int rate = 48000)
{
    return InterleaveStereo(Noise(3000, 0.5, 11), Sine(440.0, 48000, 3000, 0.6), rate);
}

ProcessContext ContextAt(int rate)
{
    ProcessContext context;
    context.sampleRate = rate;
    return context;
}

// A pass whose wet signal is known: minus twice the dry.
void Invert(std::vector<double>& samples)
{
    for (double& value : samples)
    {
        value *= -2.0;
    }
}

} // namespace

// The rate is the context's, else the buffer's; without either (or with an
// odd or too short buffer) the pass is never called and nothing changes.
TEST(SpectralProcess, RateFromTheContextThenTheBufferElseUntouched)
{
    struct Case
    {
        int contextRate;
        int bufferRate;
        double expectedRate; // 0: untouched
    };
    const Case cases[] = {
        {44100, 48000, 44100.0}, {0, 48000, 48000.0}, {-96000, 48000, 48000.0}, {0, 0, 0.0},
        {0, -48000, 0.0},        {-1, -1, 0.0},
    };
    for (const Case& c : cases)
    {
        const AudioBuffer input = Track(c.bufferRate);
        for (bool bothTogether : {false, true})
        {
            AudioBuffer buffer = input;
            double seenRate = 0.0;
            int calls = 0;
            if (bothTogether)
            {
                ProcessBothChannelsSpectrally(
                    buffer, ContextAt(c.contextRate), 1.0,
                    [&](std::vector<double>& l, std::vector<double>& r, double rate)
                    {
                        seenRate = rate;
                        ++calls;
                        Invert(l);
                        Invert(r);
                    });
            }
            else
            {
                ProcessEachChannelSpectrally(buffer, ContextAt(c.contextRate), 1.0,
                                             [&](std::vector<double>& samples, double rate)
                                             {
                                                 seenRate = rate;
                                                 ++calls;
                                                 Invert(samples);
                                             });
            }
            SCOPED_TRACE(::testing::Message() << "context " << c.contextRate << ", buffer "
                                              << c.bufferRate << ", together " << bothTogether);
            EXPECT_EQ(SpectralSampleRate(input, ContextAt(c.contextRate)), c.expectedRate);
            if (c.expectedRate == 0.0)
            {
                EXPECT_EQ(calls, 0);
                EXPECT_TRUE(buffer.samples == input.samples);
                continue;
            }
            EXPECT_EQ(calls, bothTogether ? 1 : 2);
            EXPECT_EQ(seenRate, c.expectedRate);
            for (std::size_t i = 0; i < input.samples.size(); ++i)
            {
                ASSERT_EQ(buffer.samples[i], -2.0 * input.samples[i]) << i;
            }
        }
    }
}

// The pass sees each channel as it was in the buffer, left then right.
TEST(SpectralProcess, EachChannelIsTakenOutInTurn)
{
    const AudioBuffer input = Track();
    AudioBuffer buffer = input;
    std::vector<std::vector<double>> seen;
    ProcessEachChannelSpectrally(buffer, ContextAt(48000), 1.0,
                                 [&](std::vector<double>& samples, double)
                                 { seen.push_back(samples); });
    ASSERT_EQ(seen.size(), 2u);
    for (std::size_t channel = 0; channel < 2; ++channel)
    {
        ASSERT_EQ(seen[channel].size(), input.samples.size() / 2);
        for (std::size_t i = 0; i < seen[channel].size(); ++i)
        {
            ASSERT_EQ(seen[channel][i], input.samples[2 * i + channel]);
        }
    }
}

// Mix 0 (and anything below 1e-6) gives the buffer back to the bit; 0.5 the
// mean of dry and wet; from 0.999999 on the wet samples replace the dry.
TEST(SpectralProcess, MixGivesTheDryTheMeanOrTheWet)
{
    const AudioBuffer input = Track();
    struct Case
    {
        double mix;
        double wetShare; // of the expected output
    };
    const Case cases[] = {{-1.0, 0.0},      {0.0, 0.0}, {9e-7, 0.0}, {0.5, 0.5},
                          {0.9999995, 1.0}, {1.0, 1.0}, {4.0, 1.0}};
    for (const Case& c : cases)
    {
        AudioBuffer buffer = input;
        ProcessEachChannelSpectrally(buffer, ContextAt(48000), c.mix,
                                     [](std::vector<double>& samples, double) { Invert(samples); });
        for (std::size_t i = 0; i < input.samples.size(); ++i)
        {
            const double dry = input.samples[i];
            const double expected = c.wetShare * (-2.0 * dry) + (1.0 - c.wetShare) * dry;
            if (c.wetShare == 0.0 || c.wetShare == 1.0)
            {
                ASSERT_EQ(buffer.samples[i], expected) << "mix " << c.mix << ", value " << i;
            }
            else
            {
                ASSERT_NEAR(buffer.samples[i], expected, 1e-15) << "mix " << c.mix;
            }
        }
    }
}

TEST(SpectralProcess, OddOrTooShortBuffersAreLeftAlone)
{
    for (std::vector<double> samples :
         {std::vector<double>{}, std::vector<double>{0.5}, std::vector<double>{0.1, 0.2, 0.3}})
    {
        AudioBuffer buffer;
        buffer.sampleRate = 48000;
        buffer.samples = samples;
        int calls = 0;
        ProcessEachChannelSpectrally(buffer, ContextAt(48000), 1.0,
                                     [&](std::vector<double>&, double) { ++calls; });
        ProcessBothChannelsSpectrally(buffer, ContextAt(48000), 1.0,
                                      [&](std::vector<double>&, std::vector<double>&, double)
                                      { ++calls; });
        EXPECT_EQ(calls, 0) << samples.size() << " values";
        EXPECT_EQ(buffer.samples, samples);
    }
}
