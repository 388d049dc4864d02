#include "engine/stages/stage4_limiters.h"

#include "engine/dsp/oversampler.h"
#include "tests/engine/stages/limiter_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>

namespace
{

constexpr int kRate = 48000;

// Frames 0 .. plateauFrames-1 hold a constant level, then silence, then one
// spike at 2 x the effective ceiling far enough away that the plateau sees
// neither its look-ahead nor its release.
AudioBuffer PlateauThenSpike(double plateauLevel, double effectiveCeiling)
{
    const size_t plateauFrames = 200;
    const size_t spikeAt = 2000;
    return StereoFromFunction(kRate, 2400,
                              [&](size_t i)
                              {
                                  const double x = i < plateauFrames ? plateauLevel
                                                   : i == spikeAt    ? 2.0 * effectiveCeiling
                                                                     : 0.0;
                                  return std::pair{x, x};
                              });
}

} // namespace

TEST(OversampledLimiters, UnsupportedFactorsAreRefused)
{
    const AudioBuffer input = FadedSine(1000.0, kRate, 0.05, 1.5);
    for (const int factor : {0, 3, 8, -1})
    {
        EXPECT_EQ(ErrorText([&] { TruePeakLimit(input, 1.0, factor, 1.0); }),
                  "True-peak limiter oversample factor must be 1, 2, or 4");
        EXPECT_EQ(ErrorText([&] { LookaheadLimit(input, 1.0, factor, 1.0); }),
                  "Lookahead limiter oversample factor must be 1, 2, or 4");
    }
    // The limiter object itself runs any factor the oversampler accepts.
    const AudioBuffer threeTimes = LookaheadLimiter{1.0, 3, 1.0}.Process(input);
    EXPECT_EQ(threeTimes.samples.size(), input.samples.size());
    // The trim measures an interpolated copy, whose passband ripple is ~1e-6.
    EXPECT_LE(SamplePeak(threeTimes), 0.995 * (1.0 + 1e-5));
    EXPECT_EQ(ErrorText(
                  [&] {
                      LookaheadLimiter{1.0, 0, 1.0}.Process(input);
                  }),
              "Oversampler factor must be > 0");
}

TEST(OversampledLimiters, EveryModeReturnsTheInputsLengthAndRate)
{
    struct Case
    {
        int mode;
        int factor;
    };
    const Case cases[] = {{0, 1}, {1, 1}, {1, 2}, {1, 4}, {2, 1}, {2, 2}, {2, 4}};
    for (const Case& c : cases)
    {
        for (const size_t frames : {0u, 1u, 2u, 3u, 1001u})
        {
            AudioBuffer input = MusicLikeBursts(44100, 0.05, 1.7, 2);
            input.samples.resize(2 * frames, 1.7);
            const AudioBuffer output = Stage4Limit(input, 1.0, c.mode, c.factor, 1.0);
            EXPECT_EQ(output.samples.size(), input.samples.size())
                << "mode " << c.mode << " factor " << c.factor << ", " << frames << " frames";
            EXPECT_EQ(output.sampleRate, 44100);
        }
    }
}

TEST(OversampledLimiters, BadInputIsRefused)
{
    AudioBuffer odd = FadedSine(1000.0, kRate, 0.01, 1.5);
    odd.samples.resize(3);
    for (const int factor : {1, 4})
    {
        EXPECT_EQ(ErrorText([&] { LookaheadLimit(odd, 1.0, factor, 1.0); }),
                  "Oversampler requires interleaved stereo input");
    }
    EXPECT_EQ(ErrorText([&] { TruePeakLimit(odd, 1.0, 4, 1.0); }),
              "Oversampler requires interleaved stereo input");
    EXPECT_EQ(ErrorText([&] { TruePeakLimit(odd, 1.0, 1, 1.0); }),
              "Limiter requires interleaved stereo input");
    AudioBuffer noRate = FadedSine(1000.0, kRate, 0.01, 1.5);
    noRate.sampleRate = 0;
    EXPECT_EQ(ErrorText([&] { TruePeakLimit(noRate, 1.0, 2, 1.0); }),
              "Limiter sample rate must be > 0");
    EXPECT_EQ(ErrorText([&] { LookaheadLimit(noRate, 1.0, 2, 1.0); }),
              "Limiter sample rate must be > 0");
    EXPECT_EQ(ErrorText([&] { LookaheadLimit(noRate, -1.0, 2, 1.0); }),
              "Limiter ceiling must be > 0");
}

TEST(LookaheadLimiter, SoftKneeAroundTheEffectiveCeiling)
{
    struct Case
    {
        double levelOverDb; // relative to 0.995 x ceiling
        double reductionDb;
    };
    const Case cases[] = {{0.0, 0.25},    {1.0, 1.0},  {3.0, 3.0},
                          {-0.5, 0.0625}, {-1.0, 0.0}, {-2.0, 0.0}};
    const double ceiling = 0.8;
    const double effective = 0.995 * ceiling;
    for (const Case& c : cases)
    {
        const double level = effective * std::pow(10.0, c.levelOverDb / 20.0);
        const AudioBuffer input = PlateauThenSpike(level, effective);
        const AudioBuffer output = LookaheadLimit(input, ceiling, 1, 1.0);
        const double reductionDb = -20.0 * std::log10(output.samples[20] / input.samples[20]);
        EXPECT_NEAR(reductionDb, c.reductionDb, 1e-9)
            << c.levelOverDb << " dB over the knee centre";
        EXPECT_NEAR(output.samples[2 * 2000], effective, 1e-12)
            << "spike not held at 0.995 x ceiling";
    }
}

TEST(LookaheadLimiter, WithinTheEffectiveCeilingComesBackAsAnExactCopy)
{
    AudioBuffer input = FadedSine(1000.0, kRate, 0.2, 0.99);
    input.meterSeries.push_back({"stage3.x", 50.0, {1.0f}});
    for (const int factor : {1, 2, 4})
    {
        const AudioBuffer output = LookaheadLimit(input, 1.0, factor, 1.0);
        EXPECT_EQ(output.samples, input.samples) << "factor " << factor;
        EXPECT_EQ(output.meterSeries.size(), 1u) << "factor " << factor;
    }
    // Between 0.995 x and 1 x the ceiling the limiter works.
    const AudioBuffer near = FadedSine(1000.0, kRate, 0.2, 0.999);
    EXPECT_LE(SamplePeak(LookaheadLimit(near, 1.0, 1, 1.0)), 0.995 + 1e-12);
}

TEST(LookaheadLimiter, StrengthZeroKeepsTheInputAndAboveOneActsAsOne)
{
    const AudioBuffer input = MusicLikeBursts(kRate, 0.5, 1.8, 6);
    for (const int factor : {1, 4})
    {
        EXPECT_EQ(LookaheadLimit(input, 1.0, factor, 0.0).samples, input.samples);
        EXPECT_EQ(LookaheadLimit(input, 1.0, factor, 2.0).samples,
                  LookaheadLimit(input, 1.0, factor, 1.0).samples);
    }
}

TEST(TruePeakLimit, FactorOneIsTheStandardLimiterAndHigherFactorsRoundTrip)
{
    const AudioBuffer loud = MusicLikeBursts(kRate, 0.5, 1.8, 7);
    EXPECT_EQ(TruePeakLimit(loud, 1.0, 1, 1.0).samples, StandardLimit(loud, 1.0, 1.0).samples);

    // A quiet buffer still makes the trip up and down: close to, not equal to, the input.
    AudioBuffer quiet = FadedSine(1000.0, kRate, 0.2, 0.5);
    quiet.meterSeries.push_back({"stage3.x", 50.0, {1.0f}});
    for (const int factor : {2, 4})
    {
        const AudioBuffer output = TruePeakLimit(quiet, 1.0, factor, 1.0);
        ASSERT_EQ(output.samples.size(), quiet.samples.size());
        EXPECT_NE(output.samples, quiet.samples) << "factor " << factor;
        EXPECT_TRUE(output.meterSeries.empty()) << "a resampled buffer carries no series";
        for (size_t k = 0; k < quiet.samples.size(); ++k)
        {
            ASSERT_NEAR(output.samples[k], quiet.samples[k], 1e-3) << "factor " << factor;
        }
    }
}

// The limiter streams the oversampled signal instead of holding it whole; it
// must give what limiting the whole upsampled buffer gives, at every length
// around its runs, every strength, with nothing over and with a bad sample.
TEST(TruePeakLimit, StreamedEqualsLimitingTheWholeUpsampledBuffer)
{
    const auto plainRoute = [](const AudioBuffer& input, int factor, double strength)
    {
        const Oversampler oversampler({factor, 32, 0.94});
        AudioBuffer down = oversampler.Downsample(
            StandardLimit(oversampler.Upsample(input), 0.5, strength), input.sampleRate);
        PeakTrimLoop(down, 0.5, factor);
        return down;
    };
    for (const size_t frames : {1u, 3u, 40u, 300u, 4095u, 4096u, 4097u, 9000u})
    {
        AudioBuffer loud = MusicLikeBursts(kRate, static_cast<double>(frames) / kRate, 1.2, 5);
        loud.samples.resize(2 * frames, 0.9);
        AudioBuffer broken = loud;
        broken.samples[frames] = std::numeric_limits<double>::quiet_NaN();
        AudioBuffer quiet = loud;
        for (double& x : quiet.samples)
        {
            x *= 0.2;
        }
        for (const AudioBuffer* input : {&loud, &broken, &quiet})
        {
            for (const int factor : {2, 4})
            {
                for (const double strength : {1.0, 0.5, 0.0})
                {
                    const AudioBuffer streamed = TruePeakLimit(*input, 0.5, factor, strength);
                    const AudioBuffer plain = plainRoute(*input, factor, strength);
                    ASSERT_EQ(streamed.sampleRate, plain.sampleRate);
                    ASSERT_EQ(streamed.samples.size(), plain.samples.size());
                    for (size_t k = 0; k < plain.samples.size(); ++k)
                    {
                        // Bit for bit, NaN included.
                        ASSERT_EQ(
                            std::memcmp(&streamed.samples[k], &plain.samples[k], sizeof(double)), 0)
                            << frames << " frames, factor " << factor << ", strength " << strength
                            << ", value " << k;
                    }
                }
            }
        }
    }
}

TEST(PeakTrimLoop, ScalesAPeakOfOnePointTwoTimesTheCeilingBackToIt)
{
    const double ceiling = 0.8;
    for (const int factor : {1, 2, 4})
    {
        // A low tone, so the true peak and the sample peak agree closely.
        const AudioBuffer input = FadedSine(50.0, kRate, 0.1, 1.2 * ceiling);
        AudioBuffer trimmed = input;
        PeakTrimLoop(trimmed, ceiling, factor);
        const double scale = trimmed.samples[2 * 2400] / input.samples[2 * 2400];
        EXPECT_NEAR(scale, 1.0 / 1.2, 1e-4) << "factor " << factor;
        for (size_t k = 0; k < input.samples.size(); k += 53)
        {
            ASSERT_NEAR(trimmed.samples[k], scale * input.samples[k], 1e-15);
        }
        // The interpolated copy that measures the peak ripples by ~1e-6.
        EXPECT_LE(SamplePeak(trimmed), ceiling * (1.0 + 1e-5));
    }
    // Within the ceiling, nothing changes; an empty buffer is fine.
    AudioBuffer quiet = FadedSine(50.0, kRate, 0.1, 0.5);
    const AudioBuffer before = quiet;
    PeakTrimLoop(quiet, ceiling, 4);
    EXPECT_EQ(quiet.samples, before.samples);
    AudioBuffer empty;
    PeakTrimLoop(empty, ceiling, 4);
    EXPECT_TRUE(empty.samples.empty());
    // A ceiling of 0 or less would silence or invert the track.
    EXPECT_EQ(ErrorText([&] { PeakTrimLoop(quiet, -0.5, 1); }), "Limiter ceiling must be > 0");
    EXPECT_EQ(quiet.samples, before.samples);
}

// Measured the way limiters are judged: faded, bursting material and sines
// close to Nyquist, driven 6 dB into a -1 dBTP ceiling and read by a 4x
// true-peak meter (libebur128). The true-peak modes stay within 0.1 dB of the
// ceiling; the worst overshoot of every mode is printed for the record. (That
// meter's interpolator itself reads a steady sine near 15 kHz at 48 kHz about
// 0.3 dB above its amplitude, so no tone sits there.)
TEST(OversampledLimiters, TruePeakMeterReadsTheCeilingOnDifficultMaterial)
{
    struct Mode
    {
        const char* name;
        int mode;
        int factor;
        bool holdsTruePeak;
    };
    const Mode modes[] = {{"standard", 0, 1, false},      {"true-peak x1", 1, 1, false},
                          {"true-peak x2", 1, 2, true},   {"true-peak x4", 1, 4, true},
                          {"look-ahead x1", 2, 1, false}, {"look-ahead x2", 2, 2, true},
                          {"look-ahead x4", 2, 4, true}};
    const double ceiling = std::pow(10.0, -1.0 / 20.0);
    const double drive = 2.0 * ceiling;
    std::vector<std::pair<std::string, AudioBuffer>> material;
    for (const int rate : {44100, 48000})
    {
        const std::string at = " @" + std::to_string(rate);
        material.emplace_back("bursts" + at, MusicLikeBursts(rate, 4.0, drive, 31));
        material.emplace_back("bursts 2" + at, MusicLikeBursts(rate, 4.0, drive, 32));
        for (const double hz : {11025.0, 17000.0, 19000.0, 20000.0})
        {
            material.emplace_back("sine " + std::to_string(static_cast<int>(hz)) + at,
                                  FadedSine(hz, rate, 1.0, drive));
        }
    }
    for (const Mode& m : modes)
    {
        double worstDb = -100.0;
        std::string worstMaterial;
        for (const auto& [name, input] : material)
        {
            const AudioBuffer output = Stage4Limit(input, ceiling, m.mode, m.factor, 1.0);
            const double overDb = ToDb(MeteredTruePeak(output)) - ToDb(ceiling);
            if (overDb > worstDb)
            {
                worstDb = overDb;
                worstMaterial = name;
            }
            if (m.holdsTruePeak)
            {
                EXPECT_LE(overDb, 0.1) << m.name << " lets " << name << " overshoot the ceiling";
            }
        }
        std::printf("[ limiter ] %-14s worst true-peak overshoot %+.3f dB (%s)\n", m.name, worstDb,
                    worstMaterial.c_str());
        RecordProperty(std::string(m.name) + " worst overshoot dB", std::to_string(worstDb));
    }
}
