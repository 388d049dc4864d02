#include "addons/spectral/spectral_declip.h"

#include "addons/kit/spectral_band.h"
#include "addons/spectral/declip_pass.h"
#include "engine/decibels.h"
#include "tests/support/addon_run.h"
#include "tests/support/plain_overlap_add.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <initializer_list>
#include <limits>

namespace
{

constexpr int kRate = 48000;
const double kClipLevel = DbToGain(-0.1);

DeclipSettings DefaultSettings()
{
    return {.clipLevel = kClipLevel,
            .passes = 8,
            .frameLength = 8192,
            .smoothingRadius = 2,
            .lowHz = 30.0,
            .highHz = 20000.0,
            .postGain = 1.0};
}

std::vector<double> HardClipped(std::vector<double> x, double level)
{
    for (double& value : x)
    {
        value = std::clamp(value, -level, level);
    }
    return x;
}

// A band-limited signal (four sines under 5 kHz) whose peaks reach about 1.6.
std::vector<double> SinesUnder5kHz(std::size_t frames)
{
    std::vector<double> x(frames, 0.0);
    const double parts[][3] = {
        {220.0, 0.6, 0.0}, {1330.0, 0.4, 1.0}, {2710.0, 0.35, 2.0}, {4470.0, 0.25, 0.5}};
    for (const auto& [frequency, amplitude, phase] : parts)
    {
        const std::vector<double> sine = Sine(frequency, kRate, frames, amplitude, phase);
        for (std::size_t i = 0; i < frames; ++i)
        {
            x[i] += sine[i];
        }
    }
    return x;
}

// A bed of quiet noise with full-scale spikes far apart. A spike's widened
// neighbours lie far below the clip level, while the band-limited spike rings
// far beyond them, so their rebuilt values stop at their bounds.
std::vector<double> SpikesOnAQuietBed(std::size_t frames, std::initializer_list<std::size_t> at)
{
    std::vector<double> x = Noise(frames, 1e-4, 11);
    for (std::size_t i : at)
    {
        x[i] = 1.0;
    }
    return x;
}

AudioBuffer Stereo(const std::vector<double>& left, const std::vector<double>& right)
{
    return InterleaveStereo(left, right, kRate);
}

std::vector<double> Channel(const AudioBuffer& buffer, std::size_t channel)
{
    std::vector<double> x(buffer.samples.size() / 2);
    for (std::size_t i = 0; i < x.size(); ++i)
    {
        x[i] = buffer.samples[2 * i + channel];
    }
    return x;
}

// The declip pass as written out step by step: the plain overlap-add, the
// peak limit rebuilt in polar form from the angle of each bin, the bounds
// applied to a whole-track resynthesis.
std::vector<double> PlainDeclip(const std::vector<double>& x, const DeclipSettings& s)
{
    const std::size_t half = s.frameLength / 2;
    const SpectralBand band = SpectralBandLimits(s.lowHz, s.highHz, kRate, s.frameLength);
    const auto rule = [&](FrameSpectrum& bins)
    {
        for (std::size_t k = 0; k <= half; ++k)
        {
            if (!band.Contains(k))
            {
                bins[k] = 0.0;
            }
        }
        if (s.smoothingRadius < 1)
        {
            return;
        }
        const long r = s.smoothingRadius;
        std::vector<double> magnitude(half + 1);
        std::vector<double> phase(half + 1);
        for (std::size_t k = 0; k <= half; ++k)
        {
            magnitude[k] = std::abs(bins[k]);
            phase[k] = std::atan2(bins[k].imag(), bins[k].real());
        }
        for (long m = 1; m < static_cast<long>(half); ++m)
        {
            double sum = 0.0;
            const long first = std::max(0L, m - r);
            const long last = std::min(static_cast<long>(half), m + r);
            for (long k = first; k <= last; ++k)
            {
                sum += magnitude[static_cast<std::size_t>(k)];
            }
            const double limit = 1.2 * sum / static_cast<double>(last - first + 1);
            const auto bin = static_cast<std::size_t>(m);
            bins[bin] = std::polar(std::min(limit, magnitude[bin]), phase[bin]);
        }
    };
    const std::vector<bool> marks = MarkClippedSamples(x, s.clipLevel);
    std::vector<double> y = x;
    for (int p = 0; p < s.passes; ++p)
    {
        const std::vector<double> resynthesised = PlainOverlapAdd(y, s.frameLength, rule);
        const double b = (1.0 - static_cast<double>(p) / s.passes) * 2.0 + 1.0;
        for (std::size_t i = 0; i < x.size(); ++i)
        {
            const double bound = std::fabs(x[i]) * b;
            y[i] = marks[i] ? std::clamp(resynthesised[i], -bound, bound) : x[i];
        }
    }
    for (double& value : y)
    {
        value *= s.postGain;
    }
    return y;
}

double RmsOverMarks(const std::vector<double>& a, const std::vector<double>& b,
                    const std::vector<bool>& marks)
{
    double sum = 0.0;
    std::size_t count = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
    {
        if (marks[i])
        {
            sum += (a[i] - b[i]) * (a[i] - b[i]);
            ++count;
        }
    }
    return std::sqrt(sum / static_cast<double>(std::max<std::size_t>(count, 1)));
}

} // namespace

// Without a sample at or above the clip level the track comes back times the
// post gain, to the bit (unchanged at the defaults).
TEST(SpectralDeclip, WithoutAClippedSampleTheTrackComesBackTimesThePostGain)
{
    const AudioBuffer input = Stereo(Sine(997.0, kRate, 30000, 0.98), Noise(30000, 0.5, 2));
    struct Case
    {
        AddonSetting setting;
        double gain;
    };
    const Case cases[] = {
        {{}, 1.0},
        {{{"clip_gain", -6.0}}, DbToGain(-6.0)},
        {{{"clip_threshold_db", 0.0}, {"clip_gain", -12.0}}, DbToGain(-12.0)},
    };
    for (const Case& c : cases)
    {
        const AudioBuffer output = ProcessedBy<SpectralDeclip>(input, c.setting);
        ASSERT_EQ(output.samples.size(), input.samples.size());
        for (std::size_t i = 0; i < input.samples.size(); ++i)
        {
            ASSERT_EQ(output.samples[i], input.samples[i] * c.gain) << "value " << i;
        }
    }
}

// A sample at or above the clip level, either sign, marks itself and two on
// each side, within the track; marks do not spread from the widened ones.
TEST(SpectralDeclip, AClippedSampleMarksTwoOnEachSideWithinTheTrack)
{
    struct Case
    {
        std::size_t length;
        std::vector<std::size_t> clipped;
        std::vector<std::size_t> marked;
    };
    const Case cases[] = {
        {20, {10}, {8, 9, 10, 11, 12}},
        {20, {0}, {0, 1, 2}},
        {20, {19}, {17, 18, 19}},
        {20, {10, 14}, {8, 9, 10, 11, 12, 13, 14, 15, 16}},
        {20, {}, {}},
        {3, {1}, {0, 1, 2}},
        {1, {0}, {0}},
    };
    for (const Case& c : cases)
    {
        for (double sign : {1.0, -1.0})
        {
            std::vector<double> x(c.length, 0.5 * kClipLevel);
            for (std::size_t i : c.clipped)
            {
                x[i] = sign * kClipLevel; // at the level counts
            }
            const std::vector<bool> marks = MarkClippedSamples(x, kClipLevel);
            std::vector<std::size_t> marked;
            for (std::size_t i = 0; i < marks.size(); ++i)
            {
                if (marks[i])
                {
                    marked.push_back(i);
                }
            }
            EXPECT_EQ(marked, c.marked) << "length " << c.length << ", sign " << sign;
        }
    }
    EXPECT_FALSE(
        MarkClippedSamples(std::vector<double>{std::nextafter(kClipLevel, 0.0)}, kClipLevel)[0]);
}

// A rebuilt value stays within its own input magnitude times the last pass's
// bound, 1 + 2 / P, and a spike's neighbours, which the band-limited spike
// rings far beyond, reach it: 3 times with one pass (iterations below 1.5),
// 2 with two, 1.25 with the default 8, and never more.
TEST(SpectralDeclip, TheLastPassBoundsEachRebuiltValueByItsOwnMagnitude)
{
    const std::vector<double> x = SpikesOnAQuietBed(40000, {9000, 25000});
    const std::vector<bool> marks = MarkClippedSamples(x, kClipLevel);
    struct Case
    {
        double iterations;
        double bound;
    };
    const Case cases[] = {{1.0, 3.0}, {1.49, 3.0}, {1.5, 2.0}, {8.0, 1.25}, {32.0, 1.0625}};
    for (const Case& c : cases)
    {
        const AudioBuffer output =
            ProcessedBy<SpectralDeclip>(Stereo(x, x), {{"iterations", c.iterations}});
        const std::vector<double> y = Channel(output, 0);
        double largest = 0.0;
        for (std::size_t i = 0; i < x.size(); ++i)
        {
            if (marks[i])
            {
                largest = std::max(largest, std::fabs(y[i]) / std::fabs(x[i]));
            }
        }
        EXPECT_NEAR(largest, c.bound, 1e-12) << "iterations " << c.iterations;
    }
}

// The pass is the one written out plainly: band and peak limit per frame
// (none with smoothing 0), frames from H - N on (-3072 with oversampling 1,
// -6144 with 2), bounds narrowing pass by pass; frames over no mark left out.
TEST(SpectralDeclip, MatchesThePassWrittenOutStepByStep)
{
    const std::vector<double> left = HardClipped(SinesUnder5kHz(30000), kClipLevel);
    const std::vector<double> right = SpikesOnAQuietBed(30000, {500, 17000, 29998});
    struct Case
    {
        AddonSetting setting;
        DeclipSettings settings;
    };
    DeclipSettings shortFrames = DefaultSettings();
    shortFrames.frameLength = 4096;
    shortFrames.passes = 3;
    DeclipSettings longFrames = DefaultSettings();
    longFrames.passes = 3;
    DeclipSettings unlimited = shortFrames;
    unlimited.smoothingRadius = 0;
    DeclipSettings narrow = longFrames;
    narrow.smoothingRadius = 8;
    narrow.lowHz = 200.0;
    narrow.highHz = 8000.0;
    narrow.clipLevel = DbToGain(-3.0);
    narrow.postGain = DbToGain(-12.0);
    const Case cases[] = {
        {{{"oversampling", 1.0}, {"iterations", 3.0}}, shortFrames},
        {{{"oversampling", 2.0}, {"iterations", 3.0}}, longFrames},
        {{{"oversampling", 1.49}, {"iterations", 3.0}, {"smoothing_bins", 0.0}}, unlimited},
        {{{"oversampling", 1.5},
          {"iterations", 3.0},
          {"smoothing_bins", 8.0},
          {"low_freq_hz", 200.0},
          {"high_freq_hz", 8000.0},
          {"clip_threshold_db", -3.0},
          {"clip_gain", -12.0}},
         narrow},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << "N " << c.settings.frameLength << ", radius "
                                          << c.settings.smoothingRadius);
        const AudioBuffer output = ProcessedBy<SpectralDeclip>(Stereo(left, right), c.setting);
        for (std::size_t channel = 0; channel < 2; ++channel)
        {
            const std::vector<double> expected =
                PlainDeclip(channel == 0 ? left : right, c.settings);
            const std::vector<double> y = Channel(output, channel);
            for (std::size_t i = 0; i < y.size(); ++i)
            {
                ASSERT_NEAR(y[i], expected[i], 1e-9) << "channel " << channel << ", sample " << i;
            }
        }
    }
    // The peak limit is what smoothing 0 turns off: it changes the result.
    std::vector<double> limited = left;
    std::vector<double> free = left;
    RunDeclipPass(limited, kRate, shortFrames);
    RunDeclipPass(free, kRate, unlimited);
    EXPECT_NE(limited, free);
}

// At the defaults the samples that are not marked come out exactly as they
// went in, and leaving out the frames over no mark changes no output.
TEST(SpectralDeclip, UnmarkedSamplesStayAndFramesWithoutMarksChangeNothing)
{
    std::vector<double> x = Noise(200000, 0.3, 5);
    for (std::size_t at : {3000u, 3004u, 60000u, 150001u, 199999u})
    {
        x[at] = at % 2 == 0 ? 1.0 : -1.0;
    }
    const std::vector<double> clippedSines = HardClipped(SinesUnder5kHz(60000), kClipLevel);
    for (const std::vector<double>* input : {&std::as_const(x), &clippedSines})
    {
        const std::vector<bool> marks = MarkClippedSamples(*input, kClipLevel);
        for (std::size_t frameLength : {4096u, 8192u})
        {
            SCOPED_TRACE(::testing::Message() << "N " << frameLength);
            DeclipSettings settings = DefaultSettings();
            settings.frameLength = frameLength;
            std::vector<double> skipping = *input;
            RunDeclipPass(skipping, kRate, settings);
            settings.workEveryFrame = true;
            std::vector<double> whole = *input;
            RunDeclipPass(whole, kRate, settings);
            ASSERT_EQ(skipping, whole);
            for (std::size_t i = 0; i < input->size(); ++i)
            {
                if (!marks[i])
                {
                    ASSERT_EQ(skipping[i], (*input)[i]) << "sample " << i;
                }
            }
        }
    }
}

// A band-limited signal (sines under 5 kHz peaking near 1.6) hard-clipped at
// -0.1 dBFS. With the band alone (smoothing 0, high cut-off 8 kHz) the
// resynthesis follows the signal: the rebuilt peaks rise above the clip level
// and the error against the unclipped signal over the marked samples falls.
// The peak limit of the defaults holds each sine's main lobe to 1.2 times the
// mean of the five bins around it, about half its height, so it pulls the
// marked samples of a tonal signal towards half their values; its figures are
// reported beside, for 1, 8 and 32 passes and both frame lengths.
TEST(SpectralDeclip, WithTheBandAloneRebuiltPeaksComeCloserToTheUnclipped)
{
    const std::vector<double> original = SinesUnder5kHz(FramesIn(2.0, kRate));
    const std::vector<double> clipped = HardClipped(original, kClipLevel);
    const std::vector<bool> marks = MarkClippedSamples(clipped, kClipLevel);
    const double before = RmsOverMarks(clipped, original, marks);
    std::printf("clipped: RMS error over the marked samples %.2f dB\n", GainToDb(before, 1e-12));
    for (bool bandAlone : {false, true})
    {
        for (std::size_t frameLength : {4096u, 8192u})
        {
            for (int passes : {1, 8, 32})
            {
                DeclipSettings settings = DefaultSettings();
                settings.frameLength = frameLength;
                settings.passes = passes;
                if (bandAlone)
                {
                    settings.smoothingRadius = 0;
                    settings.highHz = 8000.0;
                }
                std::vector<double> rebuilt = clipped;
                RunDeclipPass(rebuilt, kRate, settings);
                const double after = RmsOverMarks(rebuilt, original, marks);
                const double peak = *std::max_element(rebuilt.begin(), rebuilt.end());
                std::printf("%s, N %zu, %2d passes: RMS error %.2f dB (%+.2f dB), peak %.3f\n",
                            bandAlone ? "band alone" : "defaults", frameLength, passes,
                            GainToDb(after, 1e-12),
                            GainToDb(after, 1e-12) - GainToDb(before, 1e-12), peak);
                if (bandAlone && passes == 8)
                {
                    EXPECT_GT(peak, 1.1 * kClipLevel) << "N " << frameLength;
                    EXPECT_LT(after, before) << "N " << frameLength;
                }
            }
        }
    }
}

// Rates a direct caller may pass, a track of one frame, a track clipped
// throughout: untouched without a rate, else full length, finite and within
// the bounds.
TEST(SpectralDeclip, ShortAndFullyClippedTracksStayFiniteAndBounded)
{
    AudioBuffer noRate = Stereo(SpikesOnAQuietBed(5000, {100}), Noise(5000, 1.0, 3));
    noRate.sampleRate = 0;
    ProcessContext context;
    context.sampleRate = 0;
    AudioBuffer output = noRate;
    SpectralDeclip().process(output, context);
    EXPECT_EQ(output.samples, noRate.samples);

    for (std::size_t frames : {1u, 3u, 5000u})
    {
        // A square wave at the clip level: every sample is marked.
        std::vector<double> square(frames);
        for (std::size_t i = 0; i < frames; ++i)
        {
            square[i] = (i / 40) % 2 == 0 ? kClipLevel : -kClipLevel;
        }
        const AudioBuffer rebuilt = ProcessedBy<SpectralDeclip>(Stereo(square, square));
        ASSERT_EQ(rebuilt.samples.size(), 2 * frames);
        for (std::size_t i = 0; i < rebuilt.samples.size(); ++i)
        {
            ASSERT_TRUE(std::isfinite(rebuilt.samples[i])) << frames << " frames, value " << i;
            ASSERT_LE(std::fabs(rebuilt.samples[i]), 1.25 * kClipLevel) << frames << " frames";
        }
    }
}

// A value that is not a number is not marked and comes back as it was; it
// spoils the resynthesis of the frames it lies in, whose marked samples then
// take the lower end of their bounds (a clamp lets nothing that is not a
// number through). An infinite value is marked with an infinite bound and
// comes out as minus infinity. The call ends, every other sample is finite,
// and the other channel and every unmarked sample stay as they were.
TEST(SpectralDeclip, NonFiniteSamplesStayInTheirFramesAndChannel)
{
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<double> left = HardClipped(SinesUnder5kHz(60000), kClipLevel);
    const std::vector<double> right = SpikesOnAQuietBed(60000, {30000});
    const AudioBuffer clean = ProcessedBy<SpectralDeclip>(Stereo(left, right));
    const std::size_t bad = 30000;
    for (double value : {std::numeric_limits<double>::quiet_NaN(), inf, -inf})
    {
        std::vector<double> spoilt = left;
        spoilt[bad] = value;
        const std::vector<bool> marks = MarkClippedSamples(spoilt, kClipLevel);
        const AudioBuffer output = ProcessedBy<SpectralDeclip>(Stereo(spoilt, right));
        const std::vector<double> y = Channel(output, 0);
        EXPECT_EQ(Channel(output, 1), Channel(clean, 1)) << value;
        if (std::isnan(value))
        {
            EXPECT_TRUE(std::isnan(y[bad]));
        }
        else
        {
            EXPECT_EQ(y[bad], -inf) << value;
        }
        std::printf("%g at sample %zu: out %g; neighbours %g %g\n", value, bad, y[bad], y[bad - 1],
                    y[bad + 1]);
        for (std::size_t i = 0; i < y.size(); ++i)
        {
            if (i == bad)
            {
                continue;
            }
            ASSERT_TRUE(std::isfinite(y[i])) << value << ": sample " << i;
            if (!marks[i])
            {
                ASSERT_EQ(y[i], spoilt[i]) << value << ": sample " << i;
            }
        }
    }
}
