#include "controls/graphs/window_analysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace
{

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// `seconds` of a sine of `hz` at `rate`, the same on both channels.
AudioBuffer Tone(int rate, double hz, double seconds, double amplitude = 0.5)
{
    AudioBuffer audio;
    audio.sampleRate = rate;
    const std::size_t frames = static_cast<std::size_t>(seconds * rate);
    for (std::size_t i = 0; i < frames; ++i)
    {
        const double x = amplitude * std::sin(2 * std::numbers::pi * hz * double(i) / rate);
        audio.samples.push_back(x);
        audio.samples.push_back(x);
    }
    return audio;
}

} // namespace

TEST(WindowAnalysis, FrameAtHoldsTheTimeToTheCopy)
{
    const AudioBuffer audio = Tone(100, 1, 0.5); // 50 frames
    struct Case
    {
        double seconds;
        std::size_t frame;
    };
    const Case cases[] = {{0.0, 0}, {0.123, 12}, {0.5, 49}, {7.0, 49}, {-1.0, 0}, {kNaN, 0}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(FrameAt(audio, c.seconds), c.frame) << c.seconds;
    }
    AudioBuffer noRate = audio;
    noRate.sampleRate = 0;
    EXPECT_EQ(FrameAt(noRate, 0.3), 0u);
    EXPECT_EQ(FrameAt(AudioBuffer{}, 0.3), 0u);
}

TEST(WindowAnalysis, TheWindowSpansItsSecondsAroundTheCursorAndNeverNothing)
{
    const AudioBuffer audio = Tone(48000, 1000, 1.0);
    const FrameRange middle = WindowAroundCursor(audio, 0.5, 0.12);
    EXPECT_EQ(middle.begin, 21120u);
    EXPECT_EQ(middle.size(), 5760u);
    // Cut at the ends of the copy.
    EXPECT_EQ(WindowAroundCursor(audio, 0.0, 0.12).size(), 2880u);
    EXPECT_EQ(WindowAroundCursor(audio, 9.0, 0.12).begin, 47999u);
    EXPECT_EQ(WindowAroundCursor(audio, 9.0, 0.12).size(), 1u);
    EXPECT_EQ(WindowAroundCursor(audio, kNaN, kNaN).size(), 1u);
    EXPECT_EQ(WindowAroundCursor(AudioBuffer{}, 0.5, 0.12).size(), 1u);
}

TEST(WindowAnalysis, ResamplingHoldsTheCountAndTapersBothEnds)
{
    const AudioBuffer audio = Tone(48000, 1000, 1.0);
    struct Case
    {
        double windowSec;
        std::size_t points;
    };
    // 0.12 s is 5760 frames; 1 ms is 48 frames; both held to 128..2048.
    for (const Case c : {Case{0.12, 2048}, Case{0.001, 128}, Case{0.03, 1440}})
    {
        const ResampledWindow resampled =
            HannResample(audio, WindowAroundCursor(audio, 0.5, c.windowSec), 128, 2048);
        ASSERT_EQ(resampled.points.size(), c.points) << c.windowSec;
        EXPECT_EQ(resampled.points.front(), 0.0);
        EXPECT_NEAR(resampled.points.back(), 0.0, 1e-15);
    }
    // A constant mid passes the window's own shape: 1 in the middle.
    AudioBuffer dc;
    dc.sampleRate = 1000;
    dc.samples.assign(2 * 1000, 0.0);
    for (std::size_t i = 0; i < dc.samples.size(); i += 2)
    {
        dc.samples[i] = 2.0; // L = 2, R = 0: the mid is 1
    }
    const ResampledWindow shape = HannResample(dc, FrameRange{0, 257}, 129, 2048);
    ASSERT_EQ(shape.points.size(), 257u);
    EXPECT_DOUBLE_EQ(shape.points[128], 1.0);
    EXPECT_NEAR(shape.points[64], 0.5, 1e-12);
    EXPECT_TRUE(HannResample(AudioBuffer{}, FrameRange{0, 1}, 128, 2048).points.empty());
}

TEST(WindowAnalysis, SamplesThatAreNotFiniteCountAsSilence)
{
    AudioBuffer audio = Tone(1000, 50, 1.0);
    for (std::size_t i = 0; i < audio.samples.size(); i += 7)
    {
        audio.samples[i] = i % 2 == 0 ? kNaN : INFINITY;
    }
    const ResampledWindow resampled = HannResample(audio, FrameRange{0, 1000}, 128, 2048);
    for (const double point : resampled.points)
    {
        ASSERT_TRUE(std::isfinite(point));
    }
    EXPECT_TRUE(std::isfinite(std::abs(SingleBin(resampled.points, 50, resampled.rate))));
}

TEST(WindowAnalysis, ResampledPointsKeepTheirOwnRate)
{
    // 5760 frames at 48 kHz become 2048 points: about 17 kHz between points.
    EXPECT_DOUBLE_EQ(ResampledRate(48000, 2048, 5760), 48000.0 * 2047 / 5759);
    EXPECT_DOUBLE_EQ(ResampledRate(48000, 128, 48), 48000.0 * 127 / 47);
    EXPECT_EQ(ResampledRate(48000, 128, 1), 48000.0);

    // Probed at the points' rate, a 1 kHz tone is found at 1 kHz; probed as
    // if the points followed at the buffer's rate it is missed.
    const AudioBuffer audio = Tone(48000, 1000, 1.0);
    const ResampledWindow resampled =
        HannResample(audio, WindowAroundCursor(audio, 0.5, 0.12), 128, 2048);
    const double found = std::abs(SingleBin(resampled.points, 1000, resampled.rate));
    const double missed = std::abs(SingleBin(resampled.points, 1000, 48000));
    // The Hann window halves a sine's bin: 0.5 x 2048 / 2 x 0.5.
    EXPECT_NEAR(found, 256.0, 256.0 * 0.05);
    EXPECT_LT(missed, found / 100);
    EXPECT_GT(std::abs(SingleBin(resampled.points, 1000 * 48000 / resampled.rate, 48000)),
              found * 0.95)
        << "the same tone, where the buffer's rate puts it";
    // Both Nyquist frequencies bound the probes.
    EXPECT_NEAR(resampled.HighestProbeHz(), 0.475 * resampled.rate, 1e-9);
    const ResampledWindow upsampled =
        HannResample(audio, WindowAroundCursor(audio, 0.5, 0.001), 128, 2048);
    EXPECT_EQ(upsampled.HighestProbeHz(), 0.475 * 48000);
}

TEST(WindowAnalysis, ASingleBinReadsOneFrequency)
{
    // A cosine of amplitude 0.8 over a whole number of periods.
    const double rate = 1000;
    std::vector<double> points(4000);
    for (std::size_t i = 0; i < points.size(); ++i)
    {
        points[i] = 0.8 * std::cos(2 * std::numbers::pi * 125 * double(i) / rate);
    }
    const std::complex<double> bin = SingleBin(points, 125, rate);
    EXPECT_NEAR(bin.real(), 0.8 * 4000 / 2, 1e-6);
    EXPECT_NEAR(bin.imag(), 0.0, 1e-6);
    EXPECT_NEAR(std::abs(SingleBin(points, 250, rate)), 0.0, 1e-6) << "another bin's frequency";
    // A sine lies on the negative imaginary axis: im = -(sum x sin).
    for (std::size_t i = 0; i < points.size(); ++i)
    {
        points[i] = std::sin(2 * std::numbers::pi * 125 * double(i) / rate);
    }
    EXPECT_NEAR(SingleBin(points, 125, rate).imag(), -2000.0, 1e-6);
    EXPECT_EQ(SingleBin(points, 125, 0.0), std::complex<double>());
}

TEST(WindowAnalysis, ProbesAreLogSpacedWithBothEdges)
{
    const std::vector<double> six = LogSpacedProbes(30, 120, 6);
    ASSERT_EQ(six.size(), 6u);
    EXPECT_DOUBLE_EQ(six.front(), 30.0);
    EXPECT_NEAR(six.back(), 120.0, 1e-9);
    for (std::size_t k = 1; k < six.size(); ++k)
    {
        EXPECT_NEAR(six[k] / six[k - 1], std::pow(4.0, 0.2), 1e-12);
    }
    EXPECT_EQ(LogSpacedProbes(30, 120, 7).size(), 7u);
}
