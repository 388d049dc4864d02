#include "engine/dsp/sinc_resampler.h"

#include "engine/dsp/oversampler.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>
#include <samplerate.h>

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

const double kPi = std::acos(-1.0);

// Left and right carry different tones so that a channel mix-up shows.
std::vector<double> StereoTones(std::size_t frames, int rate, std::vector<double> leftHz,
                                double rightHz, double amplitude)
{
    std::vector<double> left(frames, 0.0);
    for (double hz : leftHz)
    {
        const std::vector<double> tone = Sine(hz, rate, frames, amplitude);
        for (std::size_t f = 0; f < frames; ++f)
        {
            left[f] += tone[f];
        }
    }
    return InterleaveStereo(left, Sine(rightHz, rate, frames, amplitude, 0.3), rate).samples;
}

std::string ErrorText(const std::vector<double>& samples, int inRate, int outRate)
{
    try
    {
        SincResampler().Process(samples, inRate, outRate);
    }
    catch (const std::runtime_error& error)
    {
        return error.what();
    }
    return "no error";
}

// The converter written out step by step as its definition reads: a float
// working buffer between zero guard frames, a fixed-point filter index, the
// left half walked upwards and the right half downwards, sums in double.
std::vector<double> ReferenceConversion(const std::vector<double>& x, int inRate, int outRate)
{
    const std::span<const float> c = SincCoefficients();
    const int halfLength = kSincTableSize - 2;
    const int increment = kSincIndexIncrement;
    const std::int64_t inFrames = static_cast<std::int64_t>(x.size() / 2);
    const std::int64_t outFrames = std::max<std::int64_t>(
        1, static_cast<std::int64_t>(std::floor(double(inFrames) * outRate / inRate + 1e-12)));
    const double ratio = double(outRate) / inRate;
    const double step = double(inRate) / outRate;
    const double s = std::min(ratio, 1.0);
    const std::int64_t guard = static_cast<std::int64_t>((halfLength + 2.0) / increment / s + 1);
    std::vector<float> buffer(2 * (inFrames + 2 * guard), 0.0f);
    for (std::size_t i = 0; i < x.size(); ++i)
    {
        buffer[2 * guard + i] = static_cast<float>(x[i]);
    }
    const double floatIncrement = s * increment;
    const auto round = [](double v) { return static_cast<int>(v + (v >= 0 ? 0.5 : -0.5)); };
    const int m = round(floatIncrement * 4096);
    const int maxIndex = halfLength * 4096;
    const auto coefficient = [&](int fi)
    {
        const int idx = fi >> 12;
        const float difference = c[idx + 1] - c[idx];
        return double(c[idx]) + double(fi & 4095) / 4096.0 * double(difference);
    };
    std::vector<double> out(2 * outFrames);
    for (std::int64_t i = 0; i < outFrames; ++i)
    {
        const double position = double(i) * step;
        const std::int64_t base = static_cast<std::int64_t>(position);
        const int start = round((position - double(base)) * floatIncrement * 4096);
        const std::int64_t d = 2 * (guard + base);
        double left = 0.0, right = 0.0, left2 = 0.0, right2 = 0.0;
        int n = (maxIndex - start) / m;
        int fi = start + n * m;
        std::int64_t k = d - 2 * n;
        while (fi >= 0)
        {
            const int idx = fi >> 12;
            if (idx + 1 < halfLength + 2 && k >= 0)
            {
                left += coefficient(fi) * buffer.at(k);
                right += coefficient(fi) * buffer.at(k + 1);
            }
            k += 2;
            fi -= m;
        }
        fi = m - start;
        n = (maxIndex - fi) / m;
        fi += n * m;
        k = d + 2 * (n + 1);
        do
        {
            const int idx = fi >> 12;
            if (idx >= 0 && idx + 1 < halfLength + 2)
            {
                left2 += coefficient(fi) * buffer.at(k);
                right2 += coefficient(fi) * buffer.at(k + 1);
            }
            fi -= m;
            k -= 2;
        } while (fi > 0);
        out[2 * i] = static_cast<float>(s * (left + left2));
        out[2 * i + 1] = static_cast<float>(s * (right + right2));
    }
    return out;
}

TEST(SincCoefficients, AgreeWithTheWindowedSincAtTellingEntries)
{
    const std::span<const float> table = SincCoefficients();
    ASSERT_EQ(table.size(), 340239u);
    const struct
    {
        int entry;
        double value;
    } telling[] = {{0, 0.9657284},       {1190, 0.6358822},   {2381, 0.03419239},
                   {2465, 0.00019442},   {2466, -0.00019712}, {4762, -0.03395560},
                   {119050, 0.00186879}, {340237, -4.575e-12}};
    for (const auto& expected : telling)
    {
        EXPECT_NEAR(table[expected.entry], expected.value, 5e-8) << "entry " << expected.entry;
    }
    EXPECT_EQ(table.back(), 0.0f);
    int signChanges = 0;
    for (std::size_t k = 1; k < table.size(); ++k)
    {
        signChanges += (table[k - 1] > 0) != (table[k] > 0) && table[k] != 0.0f;
    }
    EXPECT_EQ(signChanges, 137);
}

TEST(SincResampler, OutputLengthFollowsTheRateRatio)
{
    const struct
    {
        std::size_t inFrames;
        int inRate;
        int outRate;
        std::size_t outFrames;
    } cases[] = {
        {44100, 44100, 48000, 48000}, {48000, 48000, 44100, 44100}, {1000, 44100, 96000, 2176},
        {1001, 96000, 44100, 459},    {10, 48000, 48000, 10},       {1, 8000, 48000, 6},
        {1, 44100, 48000, 1},         {1, 48000, 8000, 1},          {3, 48000, 8000, 1},
    };
    for (const auto& c : cases)
    {
        const auto out =
            SincResampler().Process(Noise(2 * c.inFrames, 0.9, 1), c.inRate, c.outRate);
        EXPECT_EQ(out.size(), 2 * c.outFrames)
            << c.inFrames << " frames " << c.inRate << " -> " << c.outRate;
    }
}

TEST(SincResampler, RejectsBadInputInOrder)
{
    EXPECT_EQ(ErrorText(Noise(2 * 4, 0.9, 1), 0, 48000), "SincResampler sample rates must be > 0");
    EXPECT_EQ(ErrorText(Noise(2 * 4, 0.9, 1), 44100, -1), "SincResampler sample rates must be > 0");
    EXPECT_EQ(ErrorText({}, 0, 48000), "SincResampler sample rates must be > 0");
    EXPECT_EQ(ErrorText({0.1, 0.2, 0.3}, 0, 48000), "SincResampler sample rates must be > 0");
    EXPECT_EQ(ErrorText({0.1, 0.2, 0.3}, 44100, 48000),
              "SincResampler input size must be divisible by channels");
    EXPECT_TRUE(SincResampler().Process({}, 44100, 48000).empty());
}

// A ratio so low that the kernel would not move between input frames used to
// divide by zero; it is refused instead.
TEST(SincResampler, RefusesARatioTheTableCannotServe)
{
    EXPECT_EQ(ErrorText(Noise(2 * 4, 0.9, 1), 20'000'000, 1),
              "SincResampler sample rate ratio is out of range");
}

TEST(SincResampler, AgreesWithItsStepByStepDefinition)
{
    // Long inputs cross the blocks in which the converter reads its input.
    const struct
    {
        int inRate;
        int outRate;
        std::size_t frames;
    } cases[] = {{44100, 48000, 700},   {48000, 44100, 700},  {8000, 44100, 700},
                 {44100, 22050, 700},   {48000, 48000, 700},  {44100, 48001, 700},
                 {192000, 1000, 700},   {1, 3, 700},          {44100, 48000, 40000},
                 {48000, 44100, 40000}, {44100, 88200, 20000}};
    for (const auto& c : cases)
    {
        const auto input = Noise(2 * c.frames, 0.9, 2);
        const auto fast = SincResampler().Process(input, c.inRate, c.outRate);
        const auto reference = ReferenceConversion(input, c.inRate, c.outRate);
        ASSERT_EQ(fast.size(), reference.size()) << c.inRate << " -> " << c.outRate;
        for (std::size_t i = 0; i < fast.size(); ++i)
        {
            ASSERT_NEAR(fast[i], reference[i], 3e-7)
                << c.inRate << " -> " << c.outRate << ", value " << i;
        }
    }
}

TEST(SincResampler, KeepsDcAtUnityAwayFromTheEnds)
{
    const std::vector<double> dc(2 * 48000, 1.0);
    const auto out = SincResampler().Process(dc, 48000, 44100);
    constexpr std::size_t edgeFrames = 150;
    for (std::size_t f = edgeFrames; f + edgeFrames < out.size() / 2; ++f)
    {
        ASSERT_NEAR(out[2 * f], 1.0, 1e-5) << "frame " << f;
        ASSERT_NEAR(out[2 * f + 1], 1.0, 1e-5) << "frame " << f;
    }
}

TEST(SincResampler, ConvertsASineWithErrorBelowMinus90Db)
{
    constexpr int inRate = 44100;
    constexpr int outRate = 48000;
    const auto input = StereoTones(inRate, inRate, {1000.0}, 1000.0, 1.0);
    const auto out = SincResampler().Process(input, inRate, outRate);
    constexpr std::size_t edgeFrames = 200;
    double worst = 0.0;
    for (std::size_t f = edgeFrames; f + edgeFrames < out.size() / 2; ++f)
    {
        const double t = static_cast<double>(f) / outRate;
        worst = std::max(worst, std::abs(out[2 * f] - std::sin(2.0 * kPi * 1000.0 * t)));
        worst = std::max(worst, std::abs(out[2 * f + 1] - std::sin(2.0 * kPi * 1000.0 * t + 0.3)));
    }
    const double worstDb = 20.0 * std::log10(worst);
    RecordProperty("worst_error_db", std::to_string(worstDb));
    EXPECT_LT(worstDb, -90.0) << "interior error of a 1 kHz sine";
}

TEST(SincResampler, AgreesWithLibsamplerateBestQuality)
{
    constexpr int inRate = 44100;
    constexpr int outRate = 48000;
    constexpr std::size_t frames = 2 * inRate;
    const auto input = StereoTones(frames, inRate, {220.0, 3100.0, 12500.0}, 7000.0, 0.3);
    const auto ours = SincResampler().Process(input, inRate, outRate);

    std::vector<float> inFloat(input.begin(), input.end());
    std::vector<float> theirs(ours.size() + 64);
    SRC_DATA data{};
    data.data_in = inFloat.data();
    data.input_frames = static_cast<long>(frames);
    data.data_out = theirs.data();
    data.output_frames = static_cast<long>(theirs.size() / 2);
    data.src_ratio = static_cast<double>(outRate) / inRate;
    ASSERT_EQ(src_simple(&data, SRC_SINC_BEST_QUALITY, 2), 0);
    ASSERT_GE(static_cast<std::size_t>(data.output_frames_gen), ours.size() / 2 - 100);

    constexpr std::size_t edgeFrames = 2000;
    double difference = 0.0;
    double signal = 0.0;
    for (std::size_t f = edgeFrames; f + edgeFrames < ours.size() / 2; ++f)
    {
        for (int ch = 0; ch < 2; ++ch)
        {
            const double ourValue = ours[2 * f + ch];
            const double delta = ourValue - theirs[2 * f + ch];
            difference += delta * delta;
            signal += ourValue * ourValue;
        }
    }
    const double differenceDb = 10.0 * std::log10(difference / signal);
    RecordProperty("difference_to_libsamplerate_db", std::to_string(differenceDb));
    EXPECT_LT(differenceDb, -120.0) << "two band-limited converters disagree on in-band tones";
}

TEST(SincResampler, NanStaysLocalAndNothingHangs)
{
    auto input = Noise(2 * 4000, 0.9, 3);
    input[2 * 2000] = std::nan("");
    const auto out = SincResampler().Process(input, 44100, 48000);
    const std::size_t hit = static_cast<std::size_t>(2000.0 * 48000 / 44100);
    EXPECT_TRUE(std::isnan(out[2 * hit]));
    EXPECT_FALSE(std::isnan(out[2 * hit + 1])) << "the right channel caught the left's NaN";
    EXPECT_FALSE(std::isnan(out[0]));
    EXPECT_FALSE(std::isnan(out[out.size() - 2]));
}

TEST(ResampleAudio, SameRateCopiesEverything)
{
    AudioBuffer buffer;
    buffer.sampleRate = 48000;
    buffer.samples = {0.1, 0.2};
    buffer.meterSeries = {{"stage4.gain_reduction_db", 10.0, {1.0f, 2.0f}}};
    buffer.stageMetrics = {{"stage1.match_delta_db", -1.5}};
    const AudioBuffer copy = ResampleAudio(buffer, 48000);
    EXPECT_EQ(copy.samples, buffer.samples);
    ASSERT_EQ(copy.meterSeries.size(), 1u);
    EXPECT_EQ(copy.meterSeries[0].values, buffer.meterSeries[0].values);
    ASSERT_EQ(copy.stageMetrics.size(), 1u);
    EXPECT_EQ(copy.stageMetrics[0].value, -1.5);
}

TEST(ResampleAudio, ConvertsAndDropsTheAnalysis)
{
    AudioBuffer buffer;
    buffer.sampleRate = 44100;
    buffer.samples = Noise(2 * 441, 0.9, 4);
    buffer.stageMetrics = {{"stage1.match_delta_db", -1.5}};
    const AudioBuffer out = ResampleAudio(buffer, 48000);
    EXPECT_EQ(out.sampleRate, 48000);
    EXPECT_EQ(out.FrameCount(), 480u);
    EXPECT_TRUE(out.stageMetrics.empty());
    EXPECT_TRUE(out.meterSeries.empty());
}

TEST(ResampleAudio, RefusesFewerThanTwoFrames)
{
    AudioBuffer buffer;
    buffer.sampleRate = 44100;
    buffer.samples = {0.5, 0.5};
    try
    {
        ResampleAudio(buffer, 48000);
        FAIL() << "a one-frame buffer was resampled";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), "Audio too short for resampling");
    }
}

} // namespace
