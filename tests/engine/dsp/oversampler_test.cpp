#include "engine/dsp/oversampler.h"

#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace
{

const double kPi = std::acos(-1.0);

// The filter as its definition reads: every tap, every output, the index
// mirrored one step at a time until it lies inside the signal.
std::vector<double> ReferenceFilter(const std::vector<double>& x, const std::vector<double>& h)
{
    const long n = static_cast<long>(x.size());
    const long taps = static_cast<long>(h.size());
    std::vector<double> y(x.size());
    for (long i = 0; i < n; ++i)
    {
        double acc = 0.0;
        for (long k = 0; k < taps; ++k)
        {
            long j = i - taps / 2 + k;
            while (j < 0 || j >= n)
            {
                j = j < 0 ? -j - 1 : 2 * n - j - 1;
            }
            acc += h[k] * x[j];
        }
        y[i] = acc;
    }
    return y;
}

// Zero-stuffing of the input mirrored at its own rate, then plain filtering
// with h (the oversampler's UpTaps unless given).
std::vector<double> ReferenceUpsample(const std::vector<double>& x, const Oversampler& o,
                                      const std::vector<double>* taps = nullptr)
{
    const long factor = o.Config().factor;
    const long n = static_cast<long>(x.size());
    const long extra = o.Config().tapsPerPhase + 1; // input frames beyond each end
    std::vector<double> stuffed((n + 2 * extra) * factor, 0.0);
    for (long f = -extra; f < n + extra; ++f)
    {
        long j = f;
        while (j < 0 || j >= n)
        {
            j = j < 0 ? -j - 1 : 2 * n - j - 1;
        }
        stuffed[(f + extra) * factor] = x[j];
    }
    const auto& h = taps != nullptr ? *taps : o.UpTaps();
    const long half = static_cast<long>(h.size()) / 2;
    std::vector<double> y(x.size() * factor);
    for (long i = 0; i < static_cast<long>(y.size()); ++i)
    {
        double acc = 0.0;
        for (long k = 0; k < static_cast<long>(h.size()); ++k)
        {
            acc += h[k] * stuffed[i + extra * factor - half + k];
        }
        y[i] = acc;
    }
    return y;
}

std::vector<double> ReferenceDownsample(const std::vector<double>& x, const Oversampler& o)
{
    const auto filtered = ReferenceFilter(x, o.DownTaps());
    std::vector<double> kept;
    for (std::size_t i = 0; i < filtered.size(); i += o.Config().factor)
    {
        kept.push_back(filtered[i]);
    }
    return kept;
}

template <typename Call> std::string ErrorText(Call call)
{
    try
    {
        call();
    }
    catch (const std::runtime_error& error)
    {
        return error.what();
    }
    return "accepted";
}

AudioBuffer Stereo(std::vector<double> samples, int rate)
{
    AudioBuffer buffer;
    buffer.sampleRate = rate;
    buffer.samples = std::move(samples);
    return buffer;
}

TEST(Oversampler, DesignsAUnityGainLowpassAndAScaledCopy)
{
    const Oversampler o({4, 8, 0.94});
    ASSERT_EQ(o.DownTaps().size(), 65u);
    ASSERT_EQ(o.UpTaps().size(), 65u);
    double sum = 0.0;
    for (std::size_t k = 0; k < o.DownTaps().size(); ++k)
    {
        sum += o.DownTaps()[k];
        EXPECT_DOUBLE_EQ(o.UpTaps()[k], 4.0 * o.DownTaps()[k]);
        EXPECT_NEAR(o.DownTaps()[k], o.DownTaps()[64 - k], 1e-16) << "not linear phase";
    }
    EXPECT_NEAR(sum, 1.0, 1e-14);
    EXPECT_EQ(DesignOversamplerLowpass(1, 8, 0.94).size(), 17u);
    EXPECT_EQ(DesignOversamplerLowpass(4, 32, 0.94).size(), 257u);
}

TEST(Oversampler, RejectsConfigurationsInOrder)
{
    const struct
    {
        OversamplerConfig config;
        const char* error;
    } cases[] = {
        {{0, 8, 0.94}, "Oversampler factor must be > 0"},
        {{-3, 2, 7.0}, "Oversampler factor must be > 0"},
        {{4, 3, 0.94}, "Oversampler tapsPerPhase must be >= 4"},
        {{4, 3, 0.0}, "Oversampler tapsPerPhase must be >= 4"},
        {{2, 8, 1.5}, "Oversampler cutoffRatio must be in (0,1]"},
        {{2, 8, 0.0}, "Oversampler cutoffRatio must be in (0,1]"},
        {{2, 8, std::numeric_limits<double>::quiet_NaN()},
         "Oversampler cutoffRatio must be in (0,1]"},
        {{2, 4, 1.0}, "accepted"},
    };
    for (const auto& c : cases)
    {
        const auto& [factor, tapsPerPhase, cutoffRatio] = c.config;
        EXPECT_EQ(ErrorText([&] { Oversampler{c.config}; }), c.error)
            << factor << ", " << tapsPerPhase << ", " << cutoffRatio;
        EXPECT_EQ(ErrorText([&] { DesignOversamplerLowpass(factor, tapsPerPhase, cutoffRatio); }),
                  c.error)
            << "design helper: " << factor << ", " << tapsPerPhase << ", " << cutoffRatio;
    }
}

// Plain multiply-adds for the test's length, fused ones (the default) after it.
struct PlainArithmetic
{
    PlainArithmetic() { SetOversamplerFusedArithmetic(false); }
    ~PlainArithmetic() { SetOversamplerFusedArithmetic(true); }
};

// The fast paths (polyphase inside, mirrored ends computed directly) sum the
// same products in the same order as the definition, so with plain arithmetic
// the numbers agree exactly.
TEST(Oversampler, ChannelsMatchTheDefinitionExactly)
{
    const PlainArithmetic plain;
    const struct
    {
        int factor;
        int tapsPerPhase;
        std::size_t frames;
    } cases[] = {{2, 4, 1},   {2, 4, 5},    {4, 8, 5},    {4, 8, 37},   {3, 5, 300},
                 {4, 32, 70}, {4, 32, 400}, {2, 8, 1000}, {4, 8, 20011}};
    for (const auto& c : cases)
    {
        const Oversampler o({c.factor, c.tapsPerPhase, 0.94});
        const auto x = Noise(c.frames, 1.0, static_cast<unsigned>(c.frames));
        EXPECT_EQ(o.UpsampleChannel(x), ReferenceUpsample(x, o))
            << "up " << c.factor << "x" << c.tapsPerPhase << ", " << c.frames << " frames";
        EXPECT_EQ(o.DownsampleChannel(x), ReferenceDownsample(x, o))
            << "down " << c.factor << "x" << c.tapsPerPhase << ", " << c.frames << " frames";
        EXPECT_EQ(FilterSymmetric(x, o.DownTaps()), ReferenceFilter(x, o.DownTaps()))
            << "filter " << c.factor << "x" << c.tapsPerPhase << ", " << c.frames << " frames";
    }
}

std::vector<double> Magnitudes(std::vector<double> values)
{
    for (double& value : values)
    {
        value = std::abs(value);
    }
    return values;
}

// The largest |value - plain| / scale, and where.
std::pair<double, std::size_t> WorstRelativeError(const std::vector<double>& values,
                                                  const std::vector<double>& plain,
                                                  const std::vector<double>& scale)
{
    std::pair<double, std::size_t> worst{0.0, 0};
    for (std::size_t i = 0; i < plain.size(); ++i)
    {
        worst = std::max(worst, {std::abs(values[i] - plain[i]) / scale[i], i});
    }
    return worst;
}

// Whether fused or not, every upsampled value lies within 1e-12 of the plain
// sum, relative to the sum of its terms' magnitudes (the scale its rounding
// works at, which a value cancelling to near zero does not show), and the
// whole buffer, a range of it and each channel alone agree exactly.
TEST(Oversampler, UpsamplingStaysWithinRoundingOfThePlainSum)
{
    const struct
    {
        int factor;
        int tapsPerPhase;
        std::size_t frames;
    } cases[] = {{2, 4, 9},     {2, 32, 3001}, {4, 8, 37}, {4, 8, 20011},
                 {4, 32, 4097}, {8, 16, 500},  {3, 5, 300}};
    const PlainArithmetic restoresTheDefault;
    for (const bool fused : {true, false})
    {
        SetOversamplerFusedArithmetic(fused);
        for (const auto& c : cases)
        {
            const Oversampler o({c.factor, c.tapsPerPhase, 0.94});
            const auto left = Noise(c.frames, 1.0, static_cast<unsigned>(c.frames));
            const auto right = Noise(c.frames, 1e-3, static_cast<unsigned>(c.frames) + 7);
            const auto magnitudeTaps = Magnitudes(o.UpTaps());
            const auto up = o.Upsample(InterleaveStereo(left, right, 48000));
            std::vector<double> range;
            o.UpsampleRange(InterleaveStereo(left, right, 48000), c.frames / 3, c.frames, range);
            EXPECT_EQ(range, std::vector<double>(up.samples.begin() + 2 * c.factor * (c.frames / 3),
                                                 up.samples.end()));
            for (int channel = 0; channel < 2; ++channel)
            {
                const auto& x = channel == 0 ? left : right;
                const std::string label =
                    std::string(fused ? "fused " : "plain ") + std::to_string(c.factor) + "x" +
                    std::to_string(c.tapsPerPhase) + ", " + std::to_string(c.frames) +
                    " frames, channel " + std::to_string(channel);
                const auto alone = o.UpsampleChannel(x);
                for (std::size_t i = 0; i < alone.size(); ++i)
                {
                    ASSERT_EQ(alone[i], up.samples[2 * i + channel]) << label << ", value " << i;
                }
                const auto [upError, upAt] =
                    WorstRelativeError(alone, ReferenceUpsample(x, o),
                                       ReferenceUpsample(Magnitudes(x), o, &magnitudeTaps));
                EXPECT_LE(upError, 1e-12) << "up " << label << ", value " << upAt;
            }
        }
    }
}

TEST(Oversampler, StereoBuffersConvertEachChannelAlone)
{
    const Oversampler o({4, 8, 0.94});
    const auto left = Noise(500, 1.0, 1);
    const auto right = Noise(500, 1.0, 2);
    const AudioBuffer input = InterleaveStereo(left, right, 48000);
    const AudioBuffer up = o.Upsample(input);
    EXPECT_EQ(up.sampleRate, 192000);
    EXPECT_EQ(up.samples,
              InterleaveStereo(o.UpsampleChannel(left), o.UpsampleChannel(right), 0).samples);
    const AudioBuffer down = o.Downsample(up, 48000);
    EXPECT_EQ(down.sampleRate, 48000);
    const auto upLeft = o.UpsampleChannel(left);
    const auto upRight = o.UpsampleChannel(right);
    EXPECT_EQ(
        down.samples,
        InterleaveStereo(o.DownsampleChannel(upLeft), o.DownsampleChannel(upRight), 0).samples);
}

// A range reads its real neighbours and the mirror only at the buffer's ends,
// so it is exactly that slice of the whole buffer upsampled.
TEST(Oversampler, RangeIsTheSliceOfTheWholeUpsampledBuffer)
{
    const AudioBuffer input = InterleaveStereo(Noise(300, 1.0, 3), Noise(300, 1.0, 4), 48000);
    const struct
    {
        int factor;
        std::size_t begin;
        std::size_t end;
    } cases[] = {{4, 0, 300},   {4, 0, 7},   {4, 5, 40},  {4, 100, 200}, {4, 290, 300},
                 {4, 250, 999}, {2, 31, 33}, {1, 10, 20}, {4, 120, 120}};
    for (const auto& c : cases)
    {
        const Oversampler o({c.factor, 32, 0.94});
        const std::vector<double> whole = o.Upsample(input).samples;
        const std::size_t end = std::min<std::size_t>(c.end, 300);
        std::vector<double> range(3, 9.0); // stale contents must go
        o.UpsampleRange(input, c.begin, c.end, range);
        EXPECT_EQ(range, std::vector<double>(whole.begin() + 2 * c.factor * c.begin,
                                             whole.begin() + 2 * c.factor * end))
            << c.factor << "x, frames " << c.begin << " to " << c.end;
    }
}

// Brought down piece by piece from windows that hold only the frames each
// piece reads, a signal gives exactly its whole Downsample.
TEST(Oversampler, PiecesFromWindowsAreTheWholeDownsample)
{
    for (const int factor : {1, 2, 4})
    {
        const Oversampler o({factor, 8, 0.94});
        const std::size_t frames = 1001;
        const AudioBuffer signal =
            InterleaveStereo(Noise(frames, 1.0, 5), Noise(frames, 1.0, 6), 192000);
        const std::vector<double> whole = o.Downsample(signal, 48000).samples;
        const std::size_t outputs = whole.size() / 2;
        const std::size_t reach = static_cast<std::size_t>(factor) * 8;
        std::vector<double> pieces(whole.size(), -1.0);
        for (std::size_t from = 0; from < outputs; from += 37)
        {
            const std::size_t to = std::min(outputs, from + 37);
            // Mirrored reads stay within reach of the ends.
            const std::size_t first = from * factor > reach ? from * factor - reach : 0;
            const std::size_t last =
                to == outputs ? frames : std::min(frames, (to - 1) * factor + reach + 1);
            const std::span<const double> window(signal.samples.data() + 2 * first,
                                                 2 * (last - first));
            o.DownsampleRange(window, first, frames, from, to, pieces.data() + 2 * from);
        }
        EXPECT_EQ(pieces, whole) << "factor " << factor;
    }
}

TEST(Oversampler, FrameCounts)
{
    const Oversampler o({4, 8, 0.94});
    EXPECT_EQ(o.Upsample(Stereo(Noise(10, 1.0, 1), 48000)).FrameCount(), 20u);
    EXPECT_EQ(o.Downsample(Stereo(Noise(42, 1.0, 1), 192000), 48000).FrameCount(), 6u);
    EXPECT_EQ(o.Upsample(Stereo({}, 48000)).FrameCount(), 0u);
    EXPECT_EQ(o.Downsample(Stereo({}, 192000), 48000).FrameCount(), 0u);
    EXPECT_TRUE(o.UpsampleChannel({}).empty());
}

TEST(Oversampler, RejectsBadBuffers)
{
    const Oversampler o({4, 8, 0.94});
    const Oversampler unity({1, 8, 0.94});
    const AudioBuffer odd = Stereo({0.1, 0.2, 0.3}, 48000);
    EXPECT_EQ(ErrorText([&] { o.Upsample(odd); }), "Oversampler requires interleaved stereo input");
    EXPECT_EQ(ErrorText([&] { o.Downsample(odd, 48000); }),
              "Oversampler requires interleaved stereo input");
    EXPECT_EQ(ErrorText([&] { o.Downsample(odd, 0); }),
              "Oversampler requires interleaved stereo input");
    EXPECT_EQ(ErrorText(
                  [&] {
                      unity.Downsample(Stereo({0.1, 0.2}, 48000), 0);
                  }),
              "Oversampler output sample rate must be > 0");
    EXPECT_EQ(ErrorText(
                  [&] {
                      o.Downsample(Stereo({0.1, 0.2}, 48000), -5);
                  }),
              "Oversampler output sample rate must be > 0");
    EXPECT_EQ(ErrorText(
                  [&] {
                      InterleaveStereo({1.0, 2.0}, {1.0}, 48000);
                  }),
              "Oversampler channel size mismatch");
    EXPECT_EQ(ErrorText(
                  [&] {
                      o.Upsample(Stereo({0.1, 0.2}, 1 << 30));
                  }),
              "Oversampler output sample rate is out of range");
}

TEST(Oversampler, FactorOneKeepsTheBufferWhole)
{
    const Oversampler unity({1, 8, 0.94});
    AudioBuffer input = Stereo(Noise(8, 1.0, 3), 44100);
    input.meterSeries = {{"stage4.gain_reduction_db", 100.0, {1.0f}}};
    input.stageMetrics = {{"stage1.match_delta_db", 0.5}};
    const AudioBuffer up = unity.Upsample(input);
    EXPECT_EQ(up.samples, input.samples);
    EXPECT_EQ(up.sampleRate, 44100);
    EXPECT_EQ(up.meterSeries.size(), 1u);
    const AudioBuffer down = unity.Downsample(input, 48000);
    EXPECT_EQ(down.samples, input.samples);
    EXPECT_EQ(down.sampleRate, 48000);
    EXPECT_EQ(down.stageMetrics.size(), 1u);

    input.meterSeries.clear();
    const AudioBuffer fresh = Oversampler({2, 8, 0.94}).Upsample(input);
    EXPECT_TRUE(fresh.meterSeries.empty());
    EXPECT_TRUE(fresh.stageMetrics.empty());
}

TEST(Oversampler, ConstantStaysConstantUpToTheEnds)
{
    const Oversampler o({4, 32, 0.94});
    const std::vector<double> constant(2 * 3000, 0.7);
    const AudioBuffer down = o.Downsample(Stereo(constant, 192000), 48000);
    for (double value : down.samples)
    {
        ASSERT_NEAR(value, 0.7, 1e-12);
    }
    for (double value : FilterSymmetric(std::vector<double>(100, 0.7), o.DownTaps()))
    {
        ASSERT_NEAR(value, 0.7, 1e-12);
    }
    // The oversampled copy is what the limiters read for true peaks: a level
    // that is not there at the first or last sample would trim the whole track.
    for (int tapsPerPhase : {8, 32})
    {
        const AudioBuffer up = Oversampler({4, tapsPerPhase, 0.94})
                                   .Upsample(Stereo(std::vector<double>(2 * 50, 0.7), 48000));
        for (std::size_t i = 0; i < up.samples.size(); ++i)
        {
            ASSERT_NEAR(up.samples[i], 0.7, 1e-3) << "oversampled DC moved, value " << i;
        }
    }
}

TEST(Oversampler, RoundTripReturnsASineAndUpsamplingFindsItsPeak)
{
    constexpr int rate = 48000;
    constexpr std::size_t frames = 4800;
    for (int factor : {2, 4})
    {
        for (int tapsPerPhase : {8, 32})
        {
            const Oversampler o({factor, tapsPerPhase, 0.94});
            // A quarter-rate sine sampled 45 degrees off its peaks reads 0.707
            // at every sample; only the oversampled signal shows the full peak.
            const AudioBuffer input = InterleaveStereo(Sine(rate / 4.0, rate, frames, 1.0, kPi / 4),
                                                       Sine(3000.0, rate, frames, 1.0), rate);
            const AudioBuffer up = o.Upsample(input);
            const AudioBuffer back = o.Downsample(up, rate);
            const std::vector<double>& samples = input.samples;
            ASSERT_EQ(back.samples.size(), samples.size());
            double worst = 0.0;
            double peak = 0.0;
            constexpr std::size_t edge = 200;
            for (std::size_t f = edge; f + edge < frames; ++f)
            {
                worst = std::max(worst, std::abs(back.samples[2 * f] - samples[2 * f]));
                worst = std::max(worst, std::abs(back.samples[2 * f + 1] - samples[2 * f + 1]));
            }
            for (std::size_t f = edge * factor; f + edge * factor < up.FrameCount(); ++f)
            {
                peak = std::max(peak, std::abs(up.samples[2 * f]));
            }
            const std::string label = std::to_string(factor) + "x" + std::to_string(tapsPerPhase);
            EXPECT_LT(worst, 0.02) << label << ": round trip lost the sine";
            EXPECT_NEAR(peak, 1.0, 0.02) << label << ": inter-sample peak not found";
        }
    }
}

TEST(Oversampler, NanStaysLocalAndNothingHangs)
{
    const Oversampler o({4, 8, 0.94});
    auto samples = Noise(2 * 1000, 1.0, 4);
    samples[2 * 500] = std::nan("");
    const AudioBuffer up = o.Upsample(Stereo(samples, 48000));
    EXPECT_TRUE(std::isnan(up.samples[2 * 4 * 500]));
    EXPECT_FALSE(std::isnan(up.samples[2 * 4 * 500 + 1])) << "NaN crossed into the other channel";
    EXPECT_FALSE(std::isnan(up.samples[0]));
    const AudioBuffer down = o.Downsample(up, 48000);
    EXPECT_TRUE(std::isnan(down.samples[2 * 500]));
    EXPECT_FALSE(std::isnan(down.samples[down.samples.size() - 2]));
}

} // namespace
