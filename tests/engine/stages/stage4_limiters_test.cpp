#include "engine/stages/stage4_limiters.h"

#include "engine/dsp/zero_phase_one_pole.h"
#include "tests/engine/stages/limiter_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace
{

constexpr int kRate = 48000;

AudioBuffer ClickAt(size_t frames, size_t at, double clickPeak, double bed)
{
    return StereoFromFunction(
        kRate, frames,
        [&](size_t i)
        {
            const double x = i == at ? clickPeak : bed * std::sin(0.01 * static_cast<double>(i));
            return std::pair{x, 0.5 * x};
        });
}

// The standard limiter step by step as the textbook states it: a centred hold
// with mirrored edges, zero-phase smoothing, a trailing max and two release
// low-passes, each over whole vectors and with plain loops.
AudioBuffer PlainStandardLimit(const AudioBuffer& input, double ceiling, double strength)
{
    const long n = static_cast<long>(input.FrameCount());
    const double fs = input.sampleRate;
    std::vector<double> need(static_cast<size_t>(n));
    for (long i = 0; i < n; ++i)
    {
        const double peak =
            std::max(std::fabs(input.samples[2 * i]), std::fabs(input.samples[2 * i + 1]));
        need[i] = 1.0 - ceiling / std::max(peak, ceiling);
    }
    const long h = std::max(static_cast<long>(std::trunc(0.001 * fs)), 1L);
    const long w = 2 * (h % 2 == 1 ? h : h + 1) - 1;
    std::vector<double> hold(need.size());
    for (long i = 0; i < n; ++i)
    {
        double largest = 0.0;
        for (long j = i - w / 2; j <= i + w / 2; ++j)
        {
            long k = j;
            while (k < 0 || k >= n)
            {
                k = k < 0 ? -k - 1 : 2 * n - k - 1;
            }
            largest = std::max(largest, need[k]);
        }
        hold[i] = largest;
    }
    const double p = std::exp(-2.0 / static_cast<double>(h));
    const std::vector<double> smooth = ZeroPhaseOnePole(hold, 1.0 - p, 0.0, -p);
    std::vector<double> trail(hold.size());
    for (long i = 0; i < n; ++i)
    {
        double largest = 0.0;
        for (long j = i - h + 1; j <= i; ++j)
        {
            largest = std::max(largest, j < 0 ? 0.0 : hold[j]);
        }
        trail[i] = largest;
    }
    const auto lowPass = [fs](const std::vector<double>& x, double f)
    {
        const double k = 2.0 * fs * std::tan(std::numbers::pi * f / fs);
        const double b = k / (k + 2.0 * fs);
        const double c = (k - 2.0 * fs) / (k + 2.0 * fs);
        std::vector<double> y(x.size());
        for (size_t i = 0; i < x.size(); ++i)
        {
            y[i] = b * x[i] + (i > 0 ? b * x[i - 1] - c * y[i - 1] : 0.0);
        }
        return y;
    };
    const std::vector<double> fast = lowPass(trail, std::min(7.0, 0.5 * fs * 0.999999));
    std::vector<double> fastHold(fast.size());
    for (size_t i = 0; i < fast.size(); ++i)
    {
        fastHold[i] = std::max(fast[i], trail[i]);
    }
    const std::vector<double> slow =
        lowPass(fastHold, std::min(0.26666666666666666, 0.5 * fs * 0.999999));
    AudioBuffer output = input;
    for (long i = 0; i < n; ++i)
    {
        const double release = std::max(slow[i], fast[i]);
        const double gain = 1.0 - std::max({release, smooth[i], need[i]});
        for (long c = 0; c < 2; ++c)
        {
            double& x = output.samples[2 * i + c];
            x = x + (gain * x - x) * strength;
        }
    }
    return output;
}

} // namespace

TEST(StandardLimit, BufferWithinTheCeilingComesBackAsAnExactCopy)
{
    AudioBuffer input = MusicLikeBursts(kRate, 1.0, 0.9, 1);
    input.meterSeries.push_back({"stage3.x", 50.0, {1.0f}});
    input.stageMetrics.push_back({"stage1.match_delta_db", 0.5});
    const AudioBuffer output = StandardLimit(input, 0.9, 1.0);
    EXPECT_EQ(output.samples, input.samples);
    EXPECT_EQ(output.sampleRate, kRate);
    ASSERT_EQ(output.meterSeries.size(), 1u);
    ASSERT_EQ(output.stageMetrics.size(), 1u);
}

TEST(StandardLimit, ClickIsHeldExactlyAtTheCeilingAndItsSurroundingsDucked)
{
    const size_t at = 24000;
    const AudioBuffer input = ClickAt(48000, at, 2.0, 0.3);
    const AudioBuffer output = StandardLimit(input, 1.0, 1.0);
    ASSERT_EQ(output.samples.size(), input.samples.size());
    EXPECT_EQ(output.samples[2 * at], 1.0) << "the click frame should land on the ceiling";
    EXPECT_EQ(output.samples[2 * at + 1], 0.5) << "both channels share the gain";
    // The hold reaches 48 frames ahead of the click and releases over the
    // following hundreds of milliseconds.
    const auto gainAt = [&](size_t frame)
    { return output.samples[2 * frame] / input.samples[2 * frame]; };
    EXPECT_LT(gainAt(at - 40), 0.8) << "reduction did not start before the click";
    EXPECT_LT(gainAt(at + 40), 0.8) << "reduction did not hold after the click";
    EXPECT_LT(gainAt(at + 2400), 0.999) << "reduction stopped at once instead of releasing";
    EXPECT_GT(gainAt(at + 2400), 0.95) << "a lone click held the reduction too long";
    EXPECT_NEAR(gainAt(at - 4800), 1.0, 1e-9) << "reduction reached 100 ms before the click";
    EXPECT_LE(SamplePeak(output), 1.0 + 1e-12);
}

TEST(StandardLimit, AgreesWithThePlainStepByStepDefinition)
{
    struct Case
    {
        int rate;
        double seconds;
        double strength;
    };
    // 44.1 kHz has an even 1-ms hold (44), 48 kHz an odd one (48 -> 49); the
    // shortest buffers are shorter than the hold window and mirror repeatedly.
    const Case cases[] = {{48000, 0.5, 1.0},
                          {44100, 0.5, 0.7},
                          {48000, 0.0005, 1.0},
                          {8000, 0.002, 1.0},
                          {1000, 0.02, 1.0}};
    for (const Case& c : cases)
    {
        const AudioBuffer input = MusicLikeBursts(c.rate, c.seconds, 1.8, 9);
        const AudioBuffer expected = PlainStandardLimit(input, 1.0, c.strength);
        const AudioBuffer output = StandardLimit(input, 1.0, c.strength);
        ASSERT_EQ(output.samples.size(), expected.samples.size());
        for (size_t k = 0; k < output.samples.size(); ++k)
        {
            ASSERT_NEAR(output.samples[k], expected.samples[k], 1e-12)
                << "sample " << k << " at " << c.rate << " Hz, " << c.seconds << " s";
        }
    }
}

TEST(StandardLimit, MusicAtFullStrengthNeverExceedsTheCeiling)
{
    for (const int rate : {44100, 48000, 96000})
    {
        const AudioBuffer input = MusicLikeBursts(rate, 3.0, 2.5, 3);
        const AudioBuffer output = StandardLimit(input, 0.7, 1.0);
        ASSERT_EQ(output.samples.size(), input.samples.size());
        // The gain arithmetic may round one step above the ceiling.
        EXPECT_LE(SamplePeak(output), 0.7 * (1.0 + 1e-12))
            << "sample peak over the ceiling at " << rate << " Hz";
        EXPECT_GT(SamplePeak(output), 0.69) << "the loudest peak should reach the ceiling";
    }
}

TEST(StandardLimit, StrengthBlendsBetweenInputAndFullLimiting)
{
    const AudioBuffer input = MusicLikeBursts(kRate, 1.0, 1.6, 4);
    const AudioBuffer full = StandardLimit(input, 1.0, 1.0);
    const AudioBuffer half = StandardLimit(input, 1.0, 0.5);
    EXPECT_EQ(StandardLimit(input, 1.0, 2.0).samples, full.samples) << "strength 2 acts as 1";
    EXPECT_EQ(StandardLimit(input, 1.0, 0.0).samples, input.samples);
    EXPECT_EQ(StandardLimit(input, 1.0, std::nan("")).samples, input.samples);
    for (size_t k = 0; k < input.samples.size(); k += 97)
    {
        EXPECT_NEAR(half.samples[k], 0.5 * (input.samples[k] + full.samples[k]), 1e-12);
    }
}

TEST(StandardLimit, NonFiniteSamplesStayPutAndSteerNothing)
{
    AudioBuffer input = ClickAt(9600, 4800, 2.0, 0.3);
    input.samples[2 * 1000] = std::numeric_limits<double>::quiet_NaN();
    input.samples[2 * 7000 + 1] = std::numeric_limits<double>::infinity();
    const AudioBuffer output = StandardLimit(input, 1.0, 1.0);
    EXPECT_TRUE(std::isnan(output.samples[2 * 1000]));
    EXPECT_EQ(output.samples[2 * 1001], input.samples[2 * 1001])
        << "a NaN frame must not pull its neighbours down";
    EXPECT_EQ(output.samples[2 * 4800], 1.0);
}

TEST(StandardLimit, EdgeLengthsKeepTheirLength)
{
    for (const size_t frames : {0u, 1u, 2u, 7u, 48u, 97u})
    {
        const AudioBuffer input = ClickAt(frames, frames / 2, 3.0, 0.0);
        const AudioBuffer output = StandardLimit(input, 1.0, 1.0);
        ASSERT_EQ(output.samples.size(), input.samples.size());
        EXPECT_LE(SamplePeak(output), 1.0 + 1e-12) << frames << " frames";
    }
}

TEST(Stage4Limiters, InPlaceGivesWhatTheCopyingRouteGives)
{
    const AudioBuffer loud = MusicLikeBursts(kRate, 0.3, 1.6, 3);
    for (const int mode : {0, 1, 2, 7}) // the three LimiterModes and one outside them
    {
        for (const double strength : {1.0, 0.6, 0.0})
        {
            AudioBuffer buffer = loud;
            buffer.stageMetrics.push_back({"stage3.x", 1.0});
            const AudioBuffer expected = Stage4Limit(buffer, 0.5, mode, 4, strength);
            Stage4LimitInPlace(buffer, 0.5, mode, 4, strength);
            EXPECT_EQ(buffer.samples, expected.samples) << "mode " << mode << " " << strength;
            EXPECT_EQ(buffer.sampleRate, expected.sampleRate);
            EXPECT_EQ(buffer.stageMetrics.size(), expected.stageMetrics.size());
        }
    }
    AudioBuffer odd = loud;
    odd.samples.pop_back();
    EXPECT_THROW(Stage4LimitInPlace(odd, 0.5, LimiterStandard, 1, 1.0), std::runtime_error);
    EXPECT_EQ(odd.samples.size(), loud.samples.size() - 1); // refused, left as it was
}

TEST(Stage4Limiters, BadInputIsRefusedWithAClearText)
{
    const AudioBuffer good = ClickAt(480, 100, 2.0, 0.1);
    AudioBuffer odd = good;
    odd.samples.resize(3);
    AudioBuffer noRate = good;
    noRate.sampleRate = 0;
    struct Case
    {
        const AudioBuffer* input;
        double ceiling;
        const char* text;
    };
    const Case cases[] = {
        {&good, 0.0, "Limiter ceiling must be > 0"},
        {&good, -1.0, "Limiter ceiling must be > 0"},
        {&good, std::nan(""), "Limiter ceiling must be > 0"},
        {&good, std::numeric_limits<double>::infinity(), "Limiter ceiling must be > 0"},
        {&odd, 1.0, "Limiter requires interleaved stereo input"},
        {&noRate, 1.0, "Limiter sample rate must be > 0"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(ErrorText([&] { StandardLimit(*c.input, c.ceiling, 1.0); }), c.text);
    }
}
