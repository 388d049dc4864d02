#include "addons/spectral/reverb_floor.h"
#include "addons/spectral/spectral_dereverb.h"

#include "engine/decibels.h"
#include "tests/support/addon_run.h"
#include "tests/support/signals.h"
#include "tests/support/spectrum_measures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace
{

constexpr int kRate = 48000;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The quantile read off a fully sorted copy, NaN last.
double SortedQuantile(std::vector<double> values, double q)
{
    std::sort(values.begin(), values.end(),
              [](double a, double b) { return !std::isnan(a) && (std::isnan(b) || a < b); });
    const double p = static_cast<double>(values.size() - 1) * q;
    const std::size_t i = static_cast<std::size_t>(p);
    const double next = values[std::min(i + 1, values.size() - 1)];
    return values[i] + (next - values[i]) * (p - static_cast<double>(i));
}

// Bin 85 at 48 kHz: a steady sine there fills its bin and the two beside it,
// and no other.
constexpr double kBinCentredHz = 85.0 * kRate / 4096.0;

double RmsBetween(const AudioBuffer& buffer, std::size_t channel, std::size_t from, std::size_t end)
{
    double sum = 0.0;
    for (std::size_t i = from; i < end; ++i)
    {
        sum += buffer.samples[2 * i + channel] * buffer.samples[2 * i + channel];
    }
    return std::sqrt(sum / static_cast<double>(end - from));
}

} // namespace

TEST(ReverbFloorQuantile, GrowsWithTheHopsInAQuarterOfTheReverbTime)
{
    struct Case
    {
        double reverbMs;
        double rate;
        double q;
    };
    const Case cases[] = {
        {50.0, 48000.0, 0.1},
        {400.0, 48000.0, 0.1 + 0.15 * std::log2(0.1 / (1024.0 / 48000.0))}, // about 0.434
        {3000.0, 48000.0, 0.45},
        {50.0, 44100.0, 0.1}, // less than one hop: no growth
        {50.0, 96000.0, 0.1 + 0.15 * std::log2(0.0125 / (1024.0 / 96000.0))},
        {3000.0, 44100.0, 0.45},
        {3000.0, 96000.0, 0.45},
        {10.0, 48000.0, 0.1}, // times below 50 ms count as 50 ms
    };
    for (const Case& c : cases)
    {
        EXPECT_NEAR(ReverbFloorQuantile(c.reverbMs, c.rate), c.q, 1e-12)
            << c.reverbMs << " ms at " << c.rate << " Hz";
    }
    EXPECT_NEAR(ReverbFloorQuantile(400.0, 48000.0), 0.434, 0.001);
}

// The selection gives what a full sort gives, ties, short lists and values
// that are not numbers included.
TEST(InterpolatedQuantile, EqualsTheFullySortedQuantile)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coarse(0, 5); // many ties
    std::uniform_real_distribution<double> fine(0.0, 100.0);
    for (std::size_t length : {1u, 2u, 3u, 10u, 101u, 1000u})
    {
        for (double q : {0.0, 0.1, 0.25, 0.434, 0.45, 1.0})
        {
            for (int kind = 0; kind < 3; ++kind)
            {
                std::vector<double> values(length);
                for (double& v : values)
                {
                    v = kind == 0 ? fine(random) : static_cast<double>(coarse(random));
                }
                if (kind == 2)
                {
                    values[random() % length] = kNaN;
                }
                const double want = SortedQuantile(values, q);
                const double got = InterpolatedQuantile(values, q);
                if (std::isnan(want))
                {
                    EXPECT_TRUE(std::isnan(got)) << length << " values, q " << q;
                }
                else
                {
                    EXPECT_DOUBLE_EQ(got, want)
                        << length << " values, q " << q << ", kind " << kind;
                }
            }
        }
    }
    std::vector<double> none;
    EXPECT_EQ(InterpolatedQuantile(none, 0.3), 0.0);
    std::vector<double> infinite = {kInf, kInf, 1.0, kNaN};
    EXPECT_EQ(InterpolatedQuantile(infinite, 0.45), kInf);
}

TEST(DeReverbGain, SubtractsTheScaledFloorInPowerButNotBelowTheAbsoluteFloor)
{
    const DeReverbLevels levels{.amount = 0.5, .threshold = 0.01, .floor = 1e-4};
    struct Case
    {
        double magnitude;
        double reverbFloor;
        double gain;
    };
    const Case cases[] = {
        {10.0, 0.019, 1.0},            // half the floor lies below the threshold
        {10.0, 10.0, std::sqrt(0.75)}, // a bin at its own floor
        {10.0, 40.0, 1e-5},            // nothing left: held at the absolute floor
        {5e-5, 1.0, 1.0},              // already below the absolute floor
        {0.0, 1.0, 1e-4},              // silence gets the floor gain
        {1e-19, 1.0, 1e-4},            //
        {4.0, 6.0, std::sqrt(16.0 - 9.0) / 4.0},
    };
    for (const Case& c : cases)
    {
        EXPECT_NEAR(DeReverbGain(levels, c.magnitude, c.reverbFloor), c.gain, 1e-12)
            << c.magnitude << " over a floor of " << c.reverbFloor;
    }
}

// A tone that sounds through the whole track is its own floor: half the
// amount takes a quarter of its power, the whole amount all but the absolute
// floor.
TEST(SpectralDeReverb, ASteadyToneSitsOnItsOwnFloor)
{
    const AudioBuffer input = StereoSine(kBinCentredHz, kRate, 4.0, 0.5);
    const std::size_t from = FramesIn(1.0, kRate);
    const std::size_t end = FramesIn(3.0, kRate);
    const AudioBuffer half =
        ProcessedBy<SpectralDeReverb>(input, {{"amount", 0.5}, {"smoothing_bins", 0.0}});
    const AudioBuffer whole =
        ProcessedBy<SpectralDeReverb>(input, {{"amount", 1.0}, {"smoothing_bins", 0.0}});
    for (std::size_t channel = 0; channel < 2; ++channel)
    {
        EXPECT_NEAR(ToneGainDbBetween(input, half, kBinCentredHz, from, end, channel),
                    GainToDb(std::sqrt(0.75), 0.0), 0.01);
        // The floor of -80 dB is a bin magnitude of 1e-4, a sine of about 1e-7.
        EXPECT_LT(RmsBetween(whole, channel, from, end), 1e-6) << "channel " << channel;
    }
}

// Outside the cut-offs only the smoother's spread reaches: 16 bins at 48 kHz
// are 188 Hz.
TEST(SpectralDeReverb, BinsOutsideTheCutOffsKeepUnityApartFromTheSmoothersSpread)
{
    const AudioBuffer input = StereoNoise(kRate, 3.0, 0.3, 4);
    for (double smoothing : {0.0, 16.0})
    {
        const AudioBuffer output =
            ProcessedBy<SpectralDeReverb>(input, {{"amount", 1.0},
                                                  {"low_freq_hz", 500.0},
                                                  {"high_freq_hz", 4000.0},
                                                  {"smoothing_bins", smoothing}});
        const auto gainDb = [&](double lowHz, double highHz)
        {
            return BandGainDb(input.samples, output.samples, 2 * FramesIn(0.5, kRate), 1 << 16,
                              kRate, lowHz, highHz, 2);
        };
        EXPECT_NEAR(gainDb(50.0, 300.0), 0.0, 0.05) << "smoothing " << smoothing;
        EXPECT_NEAR(gainDb(4200.0, 20000.0), 0.0, 0.05) << "smoothing " << smoothing;
        EXPECT_LT(gainDb(800.0, 3700.0), -1.0) << "smoothing " << smoothing;
    }
}

// Dry bursts on both sides, a decaying tail after each on the left alone: the
// right has no floor to take away, the left's tails lose energy.
TEST(SpectralDeReverb, EachChannelLosesOnlyItsOwnTail)
{
    const std::size_t frames = FramesIn(6.0, kRate);
    const std::size_t period = FramesIn(1.0, kRate);
    const std::size_t burst = FramesIn(0.01, kRate);
    const std::vector<double> noise = Noise(frames, 0.8, 11);
    const std::vector<double> tailNoise = Noise(frames, 0.3, 12);
    std::vector<double> left(frames, 0.0);
    std::vector<double> right(frames, 0.0);
    for (std::size_t i = 0; i < frames; ++i)
    {
        const std::size_t t = i % period;
        if (t < burst)
        {
            left[i] = right[i] = noise[i];
        }
        else
        {
            left[i] = tailNoise[i] * std::exp(-static_cast<double>(t - burst) / (0.3 * kRate));
        }
    }
    const AudioBuffer input = InterleaveStereo(left, right, kRate);
    const AudioBuffer output = ProcessedBy<SpectralDeReverb>(input, {{"amount", 1.0}});
    for (std::size_t i = 0; i < frames; ++i)
    {
        ASSERT_NEAR(output.samples[2 * i + 1], input.samples[2 * i + 1], 1e-12) << "frame " << i;
    }
    double tailIn = 0.0;
    double tailOut = 0.0;
    for (std::size_t i = 0; i < frames; ++i)
    {
        if (i % period > FramesIn(0.2, kRate))
        {
            tailIn += input.samples[2 * i] * input.samples[2 * i];
            tailOut += output.samples[2 * i] * output.samples[2 * i];
        }
    }
    EXPECT_LT(10.0 * std::log10(tailOut / tailIn), -1.0);
}

// Bad input beyond the frame's checks: a one-frame track has four frames of
// history; samples that are not finite stay in their own channel; the reverb
// times at their limits work at every rate.
TEST(SpectralDeReverb, ShortTracksNonFiniteSamplesAndExtremeReverbTimes)
{
    for (std::size_t frames : {1u, 2u, 5000u})
    {
        AudioBuffer input;
        input.sampleRate = kRate;
        input.samples = Noise(2 * frames, 0.5, 9);
        const AudioBuffer output = ProcessedBy<SpectralDeReverb>(input, {{"amount", 1.0}});
        ASSERT_EQ(output.samples.size(), input.samples.size());
        EXPECT_TRUE(AllFinite(output)) << frames << " frames";
    }
    const AudioBuffer clean = StereoNoise(kRate, 1.0, 0.3, 5);
    const AudioBuffer cleanOutput = ProcessedBy<SpectralDeReverb>(clean, {{"amount", 1.0}});
    const std::size_t bad = FramesIn(0.5, kRate);
    for (double value : {kNaN, kInf, -kInf})
    {
        AudioBuffer input = clean;
        input.samples[2 * bad] = value;
        const AudioBuffer output = ProcessedBy<SpectralDeReverb>(input, {{"amount", 1.0}});
        for (std::size_t i = 0; i < clean.samples.size() / 2; ++i)
        {
            ASSERT_EQ(output.samples[2 * i + 1], cleanOutput.samples[2 * i + 1])
                << value << ": right channel, frame " << i;
            if (i + 8192 < bad)
            {
                ASSERT_TRUE(std::isfinite(output.samples[2 * i])) << value << ": frame " << i;
            }
        }
    }
    for (int rate : {44100, 96000})
    {
        const AudioBuffer input = StereoNoise(rate, 1.0, 0.3, 6);
        for (double reverbMs : {50.0, 3000.0})
        {
            const AudioBuffer output = ProcessedBy<SpectralDeReverb>(
                input, {{"amount", 1.0}, {"reverb_time_ms", reverbMs}});
            EXPECT_TRUE(AllFinite(output)) << reverbMs << " ms at " << rate << " Hz";
            EXPECT_FALSE(output.samples == input.samples) << reverbMs << " ms at " << rate << " Hz";
        }
    }
}
