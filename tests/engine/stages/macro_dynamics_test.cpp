#include "engine/stages/macro_dynamics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{

constexpr int kRate = 48000;
constexpr double kFloor = 1e-6;

// A square wave held at each of the given levels for sectionFrames samples.
std::vector<double> SteppedLevels(const std::vector<double>& levelsDb, int sectionFrames)
{
    std::vector<double> x;
    for (const double db : levelsDb)
    {
        const double amplitude = std::pow(10.0, db / 20.0);
        for (int i = 0; i < sectionFrames; ++i)
        {
            x.push_back(i % 2 == 0 ? amplitude : -amplitude);
        }
    }
    return x;
}

// A track that swings widely: 24 s in 4-s sections between -30 and -6 dB, so
// most 3-s windows sit inside one section.
std::vector<double> WideTrack()
{
    return SteppedLevels({-30, -12, -24, -8, -28, -6}, 4 * kRate);
}

const PercentileSet kNarrowReference{-16.0, -15.0, -14.0, -13.0, -12.0};

double GainDb(double linear)
{
    return 20.0 * std::log10(linear);
}

} // namespace

TEST(Percentiles, InterpolateBetweenSortedValues)
{
    const std::vector<double> values{5, 1, 4, 2, 3};
    const PercentileSet p = Percentiles(values);
    const PercentileSet expected{1.4, 2, 3, 4, 4.6};
    for (size_t q = 0; q < 5; ++q)
    {
        EXPECT_NEAR(p[q], expected[q], 1e-12);
    }
    const std::vector<double> single{-7.5};
    EXPECT_EQ(Percentiles(single), (PercentileSet{-7.5, -7.5, -7.5, -7.5, -7.5}));
    EXPECT_EQ(Percentiles({}), PercentileSet{});
}

TEST(WindowedRmsDb, MeasuresClampedWindowsOnTheHopGrid)
{
    std::vector<double> x = SteppedLevels({-6, -6, -6, -20}, 100);
    x[5] = 4.0; // clamped to full scale before measuring
    x[7] = std::numeric_limits<double>::quiet_NaN();
    const std::vector<double> levels = WindowedRmsDb(x, 100, kFloor, 300, 100);
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_GT(levels[0], -6.0) << "the clamped sample still raises the first window";
    EXPECT_TRUE(std::isfinite(levels[0])) << "a NaN sample must not poison the window";
    EXPECT_NEAR(levels[1], 10.0 * std::log10((2 * std::pow(10.0, -0.6) + 0.01) / 3.0), 1e-9);
    EXPECT_TRUE(WindowedRmsDb(x, 100, kFloor, 500, 100).empty()) << "shorter than one window";
    EXPECT_TRUE(WindowedRmsDb(x, 0, kFloor, 300, 100).empty());
    EXPECT_EQ(WindowedRmsDb(std::vector<double>(300, 0.0), 100, kFloor, 300, 100).front(), -120.0);
}

TEST(MacroDynamicsGain, NarrowsAWideTrackTowardsANarrowReference)
{
    const std::vector<double> x = WideTrack();
    const MacroDynamicsResult r = MacroDynamicsGain(x, kRate, kFloor, kNarrowReference, 4.0, 1.0);
    ASSERT_TRUE(r.macroApplied);
    ASSERT_EQ(r.gain.size(), x.size());
    EXPECT_GT(r.currentLoudnessRange, r.referenceLoudnessRange);
    EXPECT_DOUBLE_EQ(r.referenceLoudnessRange, 4.0);
    // Quiet passages come up, loud ones go down, never beyond 3 dB.
    EXPECT_NEAR(r.maxGainDb, 3.0, 0.3);
    EXPECT_NEAR(r.minGainDb, -3.0, 0.3);
    for (const double g : r.gain)
    {
        ASSERT_LE(std::fabs(GainDb(g)), 3.0 + 1e-9) << "curve left the +-3 dB limits";
    }
}

TEST(MacroDynamicsGain, EndsHoldTheirGainInsteadOfSteppingToUnity)
{
    const std::vector<double> x = WideTrack();
    const MacroDynamicsResult r = MacroDynamicsGain(x, kRate, kFloor, kNarrowReference, 4.0, 1.0);
    ASSERT_TRUE(r.macroApplied);
    // 24 s: the last full window ends at 24 s exactly, so the final samples are
    // covered by no window. Their gain follows the curve instead of jumping.
    const size_t n = r.gain.size();
    double largestStepDb = 0.0;
    for (size_t i = 1; i < n; ++i)
    {
        largestStepDb =
            std::max(largestStepDb, std::fabs(GainDb(r.gain[i]) - GainDb(r.gain[i - 1])));
    }
    EXPECT_LT(largestStepDb, 0.01) << "the gain curve steps audibly somewhere";
    EXPECT_GT(std::fabs(GainDb(r.gain.back())), 0.5) << "the end fell back to unity";

    // A track of 24.5 s has half a second after its last full window.
    std::vector<double> longer = x;
    longer.insert(longer.end(), x.end() - kRate / 2, x.end());
    const MacroDynamicsResult tail =
        MacroDynamicsGain(longer, kRate, kFloor, kNarrowReference, 4.0, 1.0);
    ASSERT_TRUE(tail.macroApplied);
    // The Hann window's last sample weighs 0, so the one before it is the last covered.
    const size_t lastCovered = x.size() - 2;
    EXPECT_NEAR(tail.gain.back(), tail.gain[lastCovered], 1e-9)
        << "the tail does not hold the last covered gain";
}

TEST(MacroDynamicsGain, NothingToApplyLeavesNoCurve)
{
    const std::vector<double> wide = WideTrack();
    const std::vector<double> short3s = SteppedLevels({-10, -20, -12}, kRate);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const PercentileSet nanReference{-16, nan, -14, -13, -12};
    struct Case
    {
        const char* name;
        const std::vector<double>* x;
        int rate;
        PercentileSet reference;
        double range;
        double strength;
    };
    const Case cases[] = {
        {"strength 0", &wide, kRate, kNarrowReference, 4.0, 0.0},
        {"negative strength", &wide, kRate, kNarrowReference, 4.0, -1.0},
        {"NaN strength", &wide, kRate, kNarrowReference, 4.0, nan},
        {"rate 0", &wide, 0, kNarrowReference, 4.0, 1.0},
        {"under 4 s", &short3s, kRate, kNarrowReference, 0.1, 1.0},
        {"NaN in the reference", &wide, kRate, nanReference, 4.0, 1.0},
        {"NaN range", &wide, kRate, kNarrowReference, nan, 1.0},
    };
    for (const Case& c : cases)
    {
        const MacroDynamicsResult r =
            MacroDynamicsGain(*c.x, c.rate, kFloor, c.reference, c.range, c.strength);
        EXPECT_TRUE(r.macroAttempted) << c.name;
        EXPECT_FALSE(r.macroApplied) << c.name;
        EXPECT_TRUE(r.gain.empty()) << c.name;
        EXPECT_EQ(r.currentLoudnessRange, 0.0) << c.name;
        EXPECT_EQ(r.minGainDb, 0.0) << c.name;
    }
    const MacroDynamicsResult shortTrack =
        MacroDynamicsGain(short3s, kRate, kFloor, kNarrowReference, 0.1, 1.0);
    EXPECT_EQ(shortTrack.referenceLoudnessRange, 0.1) << "an unused range is not clamped";
    EXPECT_EQ(shortTrack.referencePercentiles, kNarrowReference);
}

TEST(MacroDynamicsGain, HalfStrengthAppliesLessThanFull)
{
    const std::vector<double> x = WideTrack();
    // A reference a little narrower than the track keeps every gain inside the
    // limits, where strength scales the curve in dB.
    const PercentileSet cur =
        MacroDynamicsGain(x, kRate, kFloor, kNarrowReference, 4.0, 1.0).currentPercentiles;
    const PercentileSet nearReference{cur[0] + 2.0, cur[1] + 1.0, cur[2], cur[3] - 1.0,
                                      cur[4] - 2.0};
    const double range = cur[4] - cur[0] - 4.0;
    const MacroDynamicsResult full = MacroDynamicsGain(x, kRate, kFloor, nearReference, range, 1.0);
    const MacroDynamicsResult half = MacroDynamicsGain(x, kRate, kFloor, nearReference, range, 0.5);
    ASSERT_LT(full.maxGainDb, 3.0);
    ASSERT_GT(full.minGainDb, -3.0);
    EXPECT_NEAR(half.maxGainDb, 0.5 * full.maxGainDb, 0.05 * full.maxGainDb);
    EXPECT_NEAR(half.minGainDb, 0.5 * full.minGainDb, 0.05 * std::fabs(full.minGainDb));
}
