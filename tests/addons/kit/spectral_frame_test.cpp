#include "addons/kit/spectral_frame.h"

#include "tests/support/plain_overlap_add.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace
{

const std::size_t kLengths[] = {4096, 8192};

void ExpectSameWithin(const std::vector<double>& actual, const std::vector<double>& expected,
                      double tolerance)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i)
    {
        ASSERT_NEAR(actual[i], expected[i], tolerance) << "sample " << i << " of " << actual.size();
    }
}

} // namespace

TEST(SpectralFrame, WindowPowerIsOneAndAHalfAtEverySample)
{
    for (std::size_t n : kLengths)
    {
        const SpectralFrame frame(n);
        ASSERT_EQ(frame.HopWindowPower().size(), n / 4);
        for (double power : frame.HopWindowPower())
        {
            ASSERT_NEAR(power, 1.5, 1e-12) << "N " << n;
        }
    }
}

// Frame starts from H - N on while below C: floor((C + N - H - 1) / H) + 1
// frames, each of which the rule sees once.
TEST(SpectralFrame, FrameCountCoversEverySampleFourTimes)
{
    for (std::size_t n : kLengths)
    {
        for (std::size_t c : {1u, 2u, 1023u, 1024u, 1025u, 2048u, 48000u})
        {
            SpectralFrame frame(n);
            const std::vector<double> input(c, 0.25);
            std::vector<double> output(c);
            std::size_t seen = 0;
            frame.Process(input, output, [&](FrameSpectrum&) { ++seen; });
            EXPECT_EQ(seen, SpectralFrameCount(c, n)) << "C " << c << ", N " << n;
            const std::size_t hop = n / 4;
            EXPECT_EQ(seen, (c + n - hop - 1) / hop + 1) << "C " << c << ", N " << n;
        }
    }
    EXPECT_EQ(SpectralFrameCount(1, 4096), 4u);
    EXPECT_EQ(SpectralFrameCount(48000, 4096), (48000u + 3071u) / 1024u + 1u);
}

// A rule that changes no bin gives every sample back, the first and the last
// included, also for a track shorter than one hop, whose four frames all
// reach into the silence around it; in place as well as into another vector.
TEST(SpectralFrame, AnUnchangedSpectrumGivesTheTrackBack)
{
    for (std::size_t n : kLengths)
    {
        for (std::size_t c : {1u, 7u, 1000u, 4096u, 48000u + 17u})
        {
            SCOPED_TRACE(::testing::Message() << "N " << n << ", C " << c);
            const std::vector<double> input = Noise(c, 0.9, 7u + static_cast<unsigned>(c));
            SpectralFrame frame(n);
            std::vector<double> output(c, 123.0);
            frame.Process(input, output, [](FrameSpectrum&) {});
            ExpectSameWithin(output, input, 1e-12);

            std::vector<double> inPlace = input;
            frame.Process(inPlace, inPlace, [](FrameSpectrum&) {});
            EXPECT_EQ(inPlace, output) << "in place must give the same result to the bit";
        }
    }
}

// The rule sees bins 0 to N/2 of the unscaled transform; the frame rebuilds
// the rest. A sine of amplitude 1 centred on bin k reads N/4 there, and a
// gain on every bin scales the track by it.
TEST(SpectralFrame, RuleSeesTheUnscaledHalfSpectrumAndItsGainsReachTheTrack)
{
    for (std::size_t n : kLengths)
    {
        const int rate = 48000;
        const std::size_t bin = 100;
        const double frequency = static_cast<double>(bin) * rate / static_cast<double>(n);
        const std::vector<double> sine = Sine(frequency, rate, 6 * n, 0.5);
        SpectralFrame frame(n);
        std::vector<double> output(sine.size());
        std::size_t frameIndex = 0;
        double middleMagnitude = 0.0;
        frame.Process(sine, output,
                      [&](FrameSpectrum& spectrum)
                      {
                          if (frameIndex++ == 8)
                          {
                              middleMagnitude = std::abs(spectrum[bin]);
                          }
                          for (std::size_t k = n / 2 + 1; k < n; ++k)
                          {
                              spectrum[k] = {1e9, 1e9}; // rebuilt by the frame
                          }
                          for (std::size_t k = 0; k <= n / 2; ++k)
                          {
                              spectrum[k] *= 0.25;
                          }
                      });
        EXPECT_NEAR(middleMagnitude, 0.5 * static_cast<double>(n) / 4.0, 1e-9) << "N " << n;
        std::vector<double> quarter = sine;
        for (double& value : quarter)
        {
            value *= 0.25;
        }
        ExpectSameWithin(output, quarter, 1e-12);
    }
}

TEST(SpectralFrame, BothChannelsTogetherGiveEachChannelBack)
{
    for (std::size_t n : kLengths)
    {
        for (std::size_t c : {1u, 5000u})
        {
            const std::vector<double> left = Noise(c, 0.5, 1);
            const std::vector<double> right = Sine(440.0, 44100, c, 0.7);
            SpectralFrame frame(n);
            std::vector<double> leftOut = left;
            std::vector<double> rightOut(c);
            std::size_t seen = 0;
            frame.Process(leftOut, right, leftOut, rightOut,
                          [&](FrameSpectrum& l, FrameSpectrum& r)
                          {
                              ++seen;
                              std::swap(l, r);
                              std::swap(l, r);
                          });
            EXPECT_EQ(seen, SpectralFrameCount(c, n));
            ExpectSameWithin(leftOut, left, 1e-12);
            ExpectSameWithin(rightOut, right, 1e-12);
        }
    }
}

// The frame keeps a hop's window power and N samples of overlap-add in
// place of two track-long sums, and transforms two frames at once; the result
// is the plain overlap-add's to rounding.
TEST(SpectralFrame, ResultIsThePlainOverlapAdd)
{
    const auto rule = [](FrameSpectrum& spectrum)
    {
        for (std::size_t k = 0; k <= spectrum.size() / 2; ++k)
        {
            spectrum[k] *= 1.0 / (1.0 + 0.01 * static_cast<double>(k));
        }
    };
    for (std::size_t n : kLengths)
    {
        const std::vector<double> input = Noise(30000, 0.8, 3);
        std::vector<double> output(input.size());
        SpectralFrame(n).Process(input, output, rule);
        SCOPED_TRACE(::testing::Message() << "N " << n);
        ExpectSameWithin(output, PlainOverlapAdd(input, n, rule), 1e-14);
    }
}

TEST(SpectralFrame, RefusesALengthThatIsNoPowerOfTwo)
{
    for (std::size_t n : {0u, 1u, 4u, 4095u, 6000u})
    {
        EXPECT_THROW(SpectralFrame{n}, std::invalid_argument) << n;
    }
}

// Frames that are not wanted are left out with the frame they share a
// transform with. The filter is asked from the first start, H - N, on in
// hops; the frames worked come out to the bit as in the whole pass, and only
// the samples under them alone are written.
TEST(SpectralFrame, FramesNotWantedAreLeftOutInPairsAndTheRestIsTheWholePass)
{
    const auto rule = [](FrameSpectrum& spectrum)
    {
        for (std::size_t k = 0; k <= spectrum.size() / 2; ++k)
        {
            spectrum[k] *= 1.0 / (1.0 + 0.01 * static_cast<double>(k));
        }
    };
    for (std::size_t n : kLengths)
    {
        SCOPED_TRACE(::testing::Message() << "N " << n);
        const long hop = static_cast<long>(n / 4);
        const std::vector<double> input = Noise(static_cast<std::size_t>(40 * hop + 123), 0.8, 4);
        std::vector<double> whole(input.size());
        SpectralFrame(n).Process(input, whole, rule);

        // Frames 10 to 20 hops in are wanted; pairs start on odd hops, so
        // frames 9 to 20 are worked, and hops 12 to 20 lie under them alone.
        std::vector<long> asked;
        std::size_t worked = 0;
        std::vector<double> output(input.size(), 7.0);
        SpectralFrame(n).Process(
            input, output,
            [&](FrameSpectrum& spectrum)
            {
                ++worked;
                rule(spectrum);
            },
            [&](long start)
            {
                asked.push_back(start);
                return start >= 10 * hop && start <= 20 * hop;
            });
        ASSERT_FALSE(asked.empty());
        EXPECT_EQ(asked.front(), hop - static_cast<long>(n)); // -3072 for 4096, -6144 for 8192
        for (long start : asked)
        {
            EXPECT_EQ((start + static_cast<long>(n)) % hop, 0) << start;
        }
        EXPECT_EQ(worked, 12u);
        for (std::size_t i = 0; i < input.size(); ++i)
        {
            const long h = static_cast<long>(i) / hop;
            ASSERT_EQ(output[i], h >= 12 && h <= 20 ? whole[i] : 7.0) << "sample " << i;
        }
    }
}
