#include "engine/loudness/loudness_normalizer.h"

#include "engine/decibels.h"
#include "engine/loudness/loudness.h"
#include "loudness_fixtures.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>

using namespace loudness_fixtures;

namespace
{

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double Integrated(const AudioBuffer& buffer)
{
    const LoudnessStats stats = MeasureLoudness(buffer);
    return stats.hasIntegratedLufs ? stats.integratedLufs : -kInf;
}

// Pink noise scaled to read exactly the given loudness.
AudioBuffer NoiseAt(double lufs, double seconds = 8.0)
{
    AudioBuffer buffer = StereoPinkNoise(48000, seconds, 0.05, 3);
    const double gain = DbToGain(lufs - Integrated(buffer));
    for (double& sample : buffer.samples)
    {
        sample *= gain;
    }
    return buffer;
}

// Compares bit patterns, so NaN samples count as unchanged too.
bool SameSamples(const AudioBuffer& a, const AudioBuffer& b)
{
    return a.samples.size() == b.samples.size() &&
           (a.samples.empty() || std::memcmp(a.samples.data(), b.samples.data(),
                                             a.samples.size() * sizeof(double)) == 0);
}

LoudnessNormalizeOptions Options(double targetLufs, int limitToTarget, int maxPasses = 3)
{
    LoudnessNormalizeOptions options;
    options.targetLufs = targetLufs;
    options.toleranceLu = 0.5;
    options.ceilingDbtp = -1.0;
    options.limitToTarget = limitToTarget;
    options.maxPasses = maxPasses;
    return options;
}

TEST(NormalizeLoudness, WithinToleranceChangesNothing)
{
    AudioBuffer buffer = NoiseAt(-14.2);
    const AudioBuffer original = buffer;
    for (int limitToTarget : {0, 1})
    {
        const LoudnessNormalizeResult result =
            NormalizeLoudnessToTarget(buffer, Options(-14.0, limitToTarget));
        EXPECT_TRUE(SameSamples(buffer, original));
        EXPECT_FALSE(result.gainApplied);
        EXPECT_TRUE(result.withinTolerance);
        EXPECT_EQ(result.passes, 0);
        EXPECT_NEAR(result.lufsBefore, -14.2, 1e-9);
        EXPECT_EQ(result.lufsAfter, result.lufsBefore);
        EXPECT_EQ(result.gainDb, 0.0);
        EXPECT_DOUBLE_EQ(result.peakDbAfter, SamplePeakDb(original));
    }
}

TEST(NormalizeLoudness, AdjustGainScalesEverySampleOnce)
{
    AudioBuffer buffer = NoiseAt(-20.0);
    buffer.meterSeries.push_back({"stage4.gain_reduction_db", 10.0, {1.0f, 2.0f}});
    const AudioBuffer original = buffer;

    const LoudnessNormalizeResult result = NormalizeLoudnessToTarget(buffer, Options(-14.0, 0));
    EXPECT_TRUE(result.gainApplied);
    EXPECT_EQ(result.passes, 1);
    EXPECT_NEAR(result.gainDb, 6.0, 1e-9);
    EXPECT_NEAR(result.lufsAfter, -14.0, 1e-6) << "normalised track missed its target";
    EXPECT_TRUE(result.withinTolerance);
    EXPECT_NEAR(result.peakDbAfter, SamplePeakDb(original) + 6.0, 1e-9);
    const double gain = DbToGain(result.gainDb);
    for (size_t i = 0; i < buffer.samples.size(); ++i)
    {
        ASSERT_DOUBLE_EQ(buffer.samples[i], original.samples[i] * gain) << "sample " << i;
    }
    EXPECT_EQ(buffer.sampleRate, original.sampleRate);
    EXPECT_EQ(buffer.meterSeries.size(), 1u) << "only the samples may change";
}

// The pass loop with limiters of known behaviour: each takes a fixed number of
// dB off the loudness on some of its calls, as limiting a louder track does.
struct PassCase
{
    const char* name;
    std::vector<double> lossDbPerCall; // the last entry repeats
    int maxPasses;
    int expectedPasses;
    int expectedLimiterCalls;
    double expectedGainDb;
    double expectedLufsAfter;
    bool expectedWithin;
};

TEST(NormalizeLoudness, LimitToTargetPasses)
{
    const PassCase cases[] = {
        {"second pass finds the track within tolerance", {0.3}, 3, 2, 1, 6.0, -14.3, true},
        {"limiter that costs nothing", {0.0}, 3, 2, 1, 6.0, -14.0, true},
        {"losses until the last pass", {1.0}, 3, 3, 3, 8.0, -15.0, false},
        {"one loss, then a clean pass", {1.0, 0.0}, 3, 3, 2, 7.0, -14.0, true},
        {"maxPasses 0 acts as 1", {1.0}, 0, 1, 1, 6.0, -15.0, false},
        {"negative maxPasses acts as 1", {1.0}, -4, 1, 1, 6.0, -15.0, false},
        {"maxPasses 1 still judges the result", {0.4}, 1, 1, 1, 6.0, -14.4, true},
    };
    for (const PassCase& c : cases)
    {
        AudioBuffer buffer = NoiseAt(-20.0);
        int calls = 0;
        const BufferLimiter limiter = [&](const AudioBuffer& input)
        {
            const size_t index = std::min<size_t>(calls, c.lossDbPerCall.size() - 1);
            ++calls;
            AudioBuffer output = input;
            for (double& sample : output.samples)
            {
                sample *= DbToGain(-c.lossDbPerCall[index]);
            }
            return output;
        };
        const LoudnessNormalizeResult result =
            NormalizeLoudnessToTarget(buffer, Options(-14.0, 1, c.maxPasses), limiter);
        EXPECT_EQ(result.passes, c.expectedPasses) << c.name;
        EXPECT_EQ(calls, c.expectedLimiterCalls) << c.name;
        EXPECT_NEAR(result.gainDb, c.expectedGainDb, 1e-6) << c.name;
        EXPECT_NEAR(result.lufsAfter, c.expectedLufsAfter, 1e-6) << c.name;
        EXPECT_NEAR(Integrated(buffer), c.expectedLufsAfter, 1e-6) << c.name;
        EXPECT_EQ(result.withinTolerance, c.expectedWithin) << c.name;
        EXPECT_TRUE(result.gainApplied) << c.name;
        EXPECT_NEAR(result.lufsBefore, -20.0, 1e-9) << c.name;
        EXPECT_DOUBLE_EQ(result.peakDbAfter, SamplePeakDb(buffer)) << c.name;
    }
}

TEST(NormalizeLoudness, FailingLimiterLeavesTheTrackAsItWas)
{
    const AudioBuffer original = NoiseAt(-20.0);
    const BufferLimiter throwing = [](const AudioBuffer&) -> AudioBuffer
    { throw std::runtime_error("Oversampler requires interleaved stereo input"); };
    const BufferLimiter shortening = [](const AudioBuffer& input)
    {
        AudioBuffer output = input;
        output.samples.resize(output.samples.size() - 2);
        return output;
    };

    AudioBuffer buffer = original;
    EXPECT_THROW(NormalizeLoudnessToTarget(buffer, Options(-14.0, 1), throwing),
                 std::runtime_error);
    EXPECT_TRUE(SameSamples(buffer, original)) << "a failed pass must not leave the gain applied";
    EXPECT_THROW(NormalizeLoudnessToTarget(buffer, Options(-14.0, 1), shortening),
                 std::logic_error);
    EXPECT_TRUE(SameSamples(buffer, original)) << "a short limiter output must not be taken";
}

TEST(NormalizeLoudness, UnmeasurableAudioIsLeftAlone)
{
    struct Case
    {
        const char* name;
        AudioBuffer buffer;
        double expectedLufsBefore;
    };
    AudioBuffer rateZero = NoiseAt(-20.0, 1.0);
    rateZero.sampleRate = 0;
    const Case cases[] = {
        {"digital silence", StereoSine(1000.0, 48000, 5.0, 0.0), -kInf},
        {"shorter than 400 ms", StereoSine(1000.0, 48000, 0.3, 0.5), -kInf},
        {"one frame", AudioBuffer{48000, {0.5, -0.5}, {}, {}}, -kInf},
        {"empty", AudioBuffer{48000, {}, {}, {}}, 0.0},
        {"rate 0", rateZero, 0.0},
    };
    for (const Case& c : cases)
    {
        for (int limitToTarget : {0, 1})
        {
            AudioBuffer buffer = c.buffer;
            const LoudnessNormalizeResult result =
                NormalizeLoudnessToTarget(buffer, Options(-14.0, limitToTarget));
            EXPECT_TRUE(SameSamples(buffer, c.buffer)) << c.name;
            EXPECT_FALSE(result.gainApplied) << c.name;
            EXPECT_FALSE(result.withinTolerance) << c.name;
            EXPECT_EQ(result.passes, 0) << c.name;
            EXPECT_EQ(result.lufsBefore, c.expectedLufsBefore) << c.name;
            EXPECT_EQ(result.lufsAfter, c.expectedLufsBefore) << c.name;
        }
    }
}

TEST(NormalizeLoudness, RefusesWhatItCannotHonour)
{
    struct Case
    {
        const char* name;
        LoudnessNormalizeOptions options;
        bool nonFiniteSample;
    };
    const auto with = [](double target, int limit, double tolerance, double ceiling)
    {
        LoudnessNormalizeOptions options = Options(target, limit);
        options.toleranceLu = tolerance;
        options.ceilingDbtp = ceiling;
        return options;
    };
    const Case cases[] = {
        {"target +20 LUFS", with(20.0, 1, 0.5, -1.0), false},
        {"target +20 LUFS, plain gain", with(20.0, 0, 0.5, -1.0), false},
        {"target NaN", with(kNaN, 0, 0.5, -1.0), false},
        {"target -infinity", with(-kInf, 0, 0.5, -1.0), false},
        {"tolerance NaN", with(-14.0, 1, kNaN, -1.0), false},
        {"negative tolerance", with(-14.0, 0, -0.5, -1.0), false},
        {"ceiling NaN with the limiter", with(-14.0, 1, 0.5, kNaN), false},
        {"ceiling above full scale with the limiter", with(-14.0, 1, 0.5, 3.0), false},
        {"NaN sample", with(-14.0, 0, 0.5, -1.0), true},
        {"NaN sample with the limiter", with(-14.0, 1, 0.5, -1.0), true},
    };
    for (const Case& c : cases)
    {
        AudioBuffer buffer = NoiseAt(-20.0);
        if (c.nonFiniteSample)
        {
            buffer.samples[1000] = kNaN;
            buffer.samples[1001] = -kInf;
        }
        const AudioBuffer original = buffer;
        EXPECT_THROW(NormalizeLoudnessToTarget(buffer, c.options), std::invalid_argument) << c.name;
        EXPECT_TRUE(SameSamples(buffer, original)) << c.name;
    }

    // The ceiling only matters to the limiter.
    AudioBuffer buffer = NoiseAt(-20.0);
    EXPECT_NO_THROW(NormalizeLoudnessToTarget(buffer, with(-14.0, 0, 0.5, kNaN)));
}

TEST(NormalizeLoudness, LimitToTargetHoldsTheTruePeakCeiling)
{
    // Pink noise with a 10 dB hit every quarter second: raised to -14 LUFS by gain
    // alone its hits would go over -1 dBTP, so the limiter has to work.
    AudioBuffer buffer = NoiseAt(-24.0, 20.0);
    for (size_t i = 0; i < buffer.FrameCount(); ++i)
    {
        if (i % 12000 < 480)
        {
            buffer.samples[2 * i] *= 3.0;
            buffer.samples[2 * i + 1] *= 3.0;
        }
    }
    const double before = Integrated(buffer);
    ASSERT_GT(MeasureWithOracle(buffer).truePeakDbtp + (-14.0 - before), 0.0)
        << "the fixture should need limiting";

    LoudnessNormalizeResult result;
    try
    {
        result = NormalizeLoudnessToTarget(buffer, Options(-14.0, 1));
    }
    catch (const std::logic_error& error)
    {
        if (std::string(error.what()) == "Lookahead limiter is not available in this build")
        {
            GTEST_SKIP() << "the look-ahead limiter is not built yet";
        }
        throw;
    }
    EXPECT_TRUE(result.withinTolerance);
    EXPECT_NEAR(Integrated(buffer), -14.0, 0.5) << "normalised track missed its target";
    EXPECT_NEAR(result.lufsAfter, Integrated(buffer), 1e-9);
    EXPECT_GT(result.gainDb, -14.0 - before) << "limiting should have cost loudness to make up";
    EXPECT_LE(MeasureWithOracle(buffer).truePeakDbtp, -1.0 + 0.1)
        << "4x true peak went over the ceiling";
    EXPECT_LE(result.passes, 3);
}

} // namespace
