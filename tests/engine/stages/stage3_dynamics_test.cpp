#include "engine/stages/stage3_dynamics.h"

#include "engine/stages/dynamics_fingerprint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <stdexcept>

namespace
{

constexpr int kRate = 8000;
constexpr double kFloor = 1e-6;

// A stereo track of noise whose level follows levelsDb, one value per second;
// the run's stage-1 piece grid with 4-s pieces goes with it.
struct Track
{
    AudioBuffer audio;
    std::vector<double> mid;
    PieceAnalysis pieces;
};

Track NoiseTrack(const std::vector<double>& levelsDb, unsigned seed = 5)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> normal(0.0, 0.25);
    Track track;
    track.audio.sampleRate = kRate;
    for (const double db : levelsDb)
    {
        const double amplitude = std::pow(10.0, db / 20.0);
        for (int i = 0; i < kRate; ++i)
        {
            const double common = normal(random);
            track.audio.samples.push_back(amplitude * (common + 0.2 * normal(random)));
            track.audio.samples.push_back(amplitude * (common - 0.2 * normal(random)));
        }
    }
    track.pieces = SplitIntoPieces(track.audio, 4.0);
    track.mid = SplitMidSide(track.audio).mid;
    return track;
}

// 24 s swinging between loud and quiet in 4-s sections.
Track SwingingTrack()
{
    std::vector<double> levels;
    for (const double db : {-3.0, -24.0, -6.0, -20.0, -4.0, -22.0})
    {
        levels.insert(levels.end(), 4, db);
    }
    return NoiseTrack(levels);
}

PieceAnalysis ReferencePieces(double rms)
{
    PieceAnalysis reference;
    reference.selectedRms = rms;
    return reference;
}

// The loud-piece level of the mid signal as stage 1 would measure it.
double LoudPieceRms(const Track& track)
{
    const std::vector<double> rms =
        BlockRms(track.mid, static_cast<size_t>(track.pieces.pieceLength),
                 static_cast<size_t>(track.pieces.pieceCount));
    double all = 0.0;
    for (const double r : rms)
    {
        all += r * r;
    }
    const double threshold = std::sqrt(all / static_cast<double>(rms.size()));
    double loud = 0.0;
    int count = 0;
    for (const double r : rms)
    {
        if (r >= threshold)
        {
            loud += r * r;
            ++count;
        }
    }
    return std::sqrt(loud / count);
}

DynamicsSettings Settings(double strength, double macroStrength, DynamicsMetrics* metrics,
                          std::vector<double>* curve = nullptr)
{
    DynamicsSettings settings;
    settings.iterations = 4;
    settings.floor = kFloor;
    settings.strength = strength;
    settings.macroStrength = macroStrength;
    settings.sampleRate = kRate;
    settings.hasShortTermDistribution = true;
    settings.shortTermLufsPercentiles = {-16.0, -15.0, -14.0, -13.0, -12.0};
    settings.loudnessRange = 4.0;
    settings.metrics = metrics;
    settings.gainCurve = curve;
    return settings;
}

DynamicsMetrics Junk()
{
    DynamicsMetrics junk;
    junk.macroAttempted = true;
    junk.macroApplied = true;
    junk.midGainDb = 9.0;
    junk.currentPercentiles = {1, 2, 3, 4, 5};
    junk.minGainDb = -9.0;
    return junk;
}

void ExpectAllZero(const DynamicsMetrics& m, const char* what)
{
    EXPECT_FALSE(m.macroAttempted) << what;
    EXPECT_FALSE(m.macroApplied) << what;
    EXPECT_EQ(m.currentPercentiles, PercentileSet{}) << what;
    EXPECT_EQ(m.referencePercentiles, PercentileSet{}) << what;
    EXPECT_EQ(m.currentLoudnessRange, 0.0) << what;
    EXPECT_EQ(m.referenceLoudnessRange, 0.0) << what;
    EXPECT_EQ(m.minGainDb, 0.0) << what;
    EXPECT_EQ(m.maxGainDb, 0.0) << what;
    EXPECT_EQ(m.meanGainDb, 0.0) << what;
}

void ExpectMidMatchesAudio(const Track& track)
{
    for (size_t i = 0; i < track.mid.size(); i += 101)
    {
        const double mid = 0.5 * (track.audio.samples[2 * i] + track.audio.samples[2 * i + 1]);
        ASSERT_NEAR(track.mid[i], mid, 1e-12) << "mid and audio drifted apart at frame " << i;
    }
}

} // namespace

TEST(ApplyDynamicsStage, NoStrengthChangesNothingAndZeroesTheMetrics)
{
    for (const double strength : {0.0, -0.5, std::numeric_limits<double>::quiet_NaN()})
    {
        Track track = SwingingTrack();
        const Track before = track;
        DynamicsMetrics metrics = Junk();
        std::vector<double> curve{42.0};
        ApplyDynamicsStage(track.mid, track.audio, track.pieces, ReferencePieces(0.05),
                           Settings(strength, 1.0, &metrics, &curve));
        EXPECT_EQ(track.mid, before.mid);
        EXPECT_EQ(track.audio.samples, before.audio.samples);
        ExpectAllZero(metrics, "strength <= 0");
        EXPECT_EQ(metrics.midGainDb, 0.0);
        EXPECT_EQ(curve, std::vector<double>{42.0}) << "the curve destination is left alone";
    }
}

TEST(ApplyDynamicsStage, LevelPassesBringTheLoudPiecesToTheReference)
{
    Track track = SwingingTrack();
    const double before = LoudPieceRms(track);
    const double target = 0.5 * before;
    DynamicsMetrics metrics = Junk();
    DynamicsSettings settings = Settings(1.0, 0.0, &metrics);
    settings.hasShortTermDistribution = false;
    ApplyDynamicsStage(track.mid, track.audio, track.pieces, ReferencePieces(target), settings);
    EXPECT_NEAR(LoudPieceRms(track), target, 1e-9 * target);
    EXPECT_NEAR(metrics.midGainDb, 20.0 * std::log10(0.5), 1e-9);
    ExpectAllZero(metrics, "no distribution leaves the macro fields empty");
    ExpectMidMatchesAudio(track);
}

TEST(ApplyDynamicsStage, PartialStrengthMovesPartWayPerPass)
{
    Track track = SwingingTrack();
    const Track before = track;
    const double loud = LoudPieceRms(track);
    DynamicsMetrics metrics;
    DynamicsSettings settings = Settings(0.5, 0.0, &metrics);
    settings.iterations = 1;
    settings.hasShortTermDistribution = false;
    ApplyDynamicsStage(track.mid, track.audio, track.pieces, ReferencePieces(2.0 * loud), settings);
    // g = (2 - 1) * 0.5 + 1
    for (size_t i = 0; i < track.mid.size(); i += 997)
    {
        ASSERT_NEAR(track.mid[i], 1.5 * before.mid[i], 1e-12);
    }
}

TEST(ApplyDynamicsStage, TrackAlreadyAtTheReferenceIsLeftAsItIs)
{
    Track track = SwingingTrack();
    const Track before = track;
    DynamicsMetrics metrics;
    DynamicsSettings settings = Settings(1.0, 0.0, &metrics);
    settings.hasShortTermDistribution = false;
    ApplyDynamicsStage(track.mid, track.audio, track.pieces, ReferencePieces(LoudPieceRms(track)),
                       settings);
    for (size_t i = 0; i < track.mid.size(); i += 997)
    {
        ASSERT_NEAR(track.mid[i], before.mid[i], 1e-14);
    }
    EXPECT_NEAR(metrics.midGainDb, 0.0, 1e-12);
}

TEST(ApplyDynamicsStage, MacroCurveReshapesMidAndAudioAlike)
{
    struct Case
    {
        const char* name;
        int iterations;
        double macroStrength;
        bool applied;
    };
    const Case cases[] = {
        {"macro on", 4, 1.0, true},
        {"macro on, no level passes", 0, 1.0, true},
        {"macro strength 0", 4, 0.0, false},
    };
    for (const Case& c : cases)
    {
        Track track = SwingingTrack();
        const Track before = track;
        DynamicsMetrics metrics;
        std::vector<double> curve{42.0};
        DynamicsSettings settings = Settings(1.0, c.macroStrength, &metrics, &curve);
        settings.iterations = c.iterations;
        ApplyDynamicsStage(track.mid, track.audio, track.pieces,
                           ReferencePieces(LoudPieceRms(track)), settings);
        EXPECT_TRUE(metrics.macroAttempted) << c.name;
        EXPECT_EQ(metrics.macroApplied, c.applied) << c.name;
        EXPECT_EQ(metrics.referencePercentiles, settings.shortTermLufsPercentiles) << c.name;
        if (!c.applied)
        {
            EXPECT_TRUE(curve.empty()) << c.name;
            EXPECT_EQ(track.mid, before.mid) << c.name;
            continue;
        }
        ASSERT_EQ(curve.size(), track.mid.size()) << c.name;
        if (c.iterations == 0)
        {
            EXPECT_EQ(metrics.midGainDb, 0.0) << c.name;
            for (size_t i = 0; i < track.mid.size(); i += 997)
            {
                ASSERT_NEAR(track.mid[i], before.mid[i] * curve[i], 1e-15) << c.name;
            }
        }
        // The swing of 20 dB is pulled towards the reference's 4 dB: quiet parts
        // come up and loud parts go down, by at most 3 dB.
        EXPECT_GT(metrics.currentLoudnessRange, 15.0) << c.name;
        EXPECT_NEAR(metrics.maxGainDb, 3.0, 0.05) << c.name;
        EXPECT_NEAR(metrics.minGainDb, -3.0, 0.05) << c.name;
        EXPECT_GT(curve[kRate * 6], 1.0) << "quiet section was not raised";
        EXPECT_LT(curve[kRate * 2], 1.0) << "loud section was not lowered";
        ExpectMidMatchesAudio(track);
    }
}

TEST(ApplyDynamicsStage, TrackUnderFourSecondsGetsNoCurve)
{
    Track track = NoiseTrack({-6, -20, -10});
    DynamicsMetrics metrics;
    std::vector<double> curve{42.0};
    DynamicsSettings settings = Settings(1.0, 1.0, &metrics, &curve);
    settings.loudnessRange = 0.1;
    ApplyDynamicsStage(track.mid, track.audio, track.pieces, ReferencePieces(0.1), settings);
    EXPECT_TRUE(metrics.macroAttempted);
    EXPECT_FALSE(metrics.macroApplied);
    EXPECT_TRUE(curve.empty());
    EXPECT_EQ(metrics.currentLoudnessRange, 0.0);
    EXPECT_EQ(metrics.referenceLoudnessRange, 0.1);
}

TEST(ApplyDynamicsStage, BadInputIsRefusedOrContained)
{
    // A mid signal of another length than the audio is refused untouched.
    Track track = SwingingTrack();
    track.mid.pop_back();
    const Track before = track;
    DynamicsMetrics metrics;
    EXPECT_THROW(ApplyDynamicsStage(track.mid, track.audio, track.pieces, ReferencePieces(0.1),
                                    Settings(1.0, 1.0, &metrics)),
                 std::invalid_argument);
    EXPECT_EQ(track.audio.samples, before.audio.samples);

    // A piece grid that does not fit gives no level pass (no gain of 1/floor).
    Track noGrid = SwingingTrack();
    const Track unchanged = noGrid;
    noGrid.pieces.pieceCount = 0;
    DynamicsSettings levelOnly = Settings(1.0, 0.0, &metrics);
    ApplyDynamicsStage(noGrid.mid, noGrid.audio, noGrid.pieces, ReferencePieces(0.1), levelOnly);
    EXPECT_EQ(noGrid.audio.samples, unchanged.audio.samples);

    // A NaN sample stays where it is; it does not spread into the gains.
    Track withNan = SwingingTrack();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    withNan.mid[1000] = nan;
    withNan.audio.samples[2000] = nan;
    withNan.audio.samples[2001] = nan;
    std::vector<double> curve;
    ApplyDynamicsStage(withNan.mid, withNan.audio, withNan.pieces, ReferencePieces(0.1),
                       Settings(1.0, 1.0, &metrics, &curve));
    EXPECT_TRUE(std::isnan(withNan.mid[1000]));
    EXPECT_TRUE(std::isfinite(withNan.mid[1001]));
    EXPECT_TRUE(std::isfinite(metrics.midGainDb));
    EXPECT_TRUE(metrics.macroApplied);
    for (const double g : curve)
    {
        ASSERT_TRUE(std::isfinite(g));
    }

    // NaN in the reference's distribution switches the macro step off.
    Track nanReference = SwingingTrack();
    DynamicsSettings settings = Settings(1.0, 1.0, &metrics, &curve);
    settings.shortTermLufsPercentiles[2] = nan;
    ApplyDynamicsStage(nanReference.mid, nanReference.audio, nanReference.pieces,
                       ReferencePieces(0.1), settings);
    EXPECT_FALSE(metrics.macroApplied);
    EXPECT_TRUE(curve.empty());
}

TEST(DynamicsFingerprint, SetsForOneThreeAndSixBands)
{
    const Track track = SwingingTrack();
    const std::vector<DynamicsSet> sets = DynamicsFingerprint(track.mid, kRate, kFloor);
    ASSERT_EQ(sets.size(), 3u);
    EXPECT_EQ(sets[0].bandCount, 1);
    EXPECT_EQ(sets[1].bandCount, 3);
    EXPECT_EQ(sets[2].bandCount, 6);
    EXPECT_NEAR(sets[0].bandRms[0], Rms(track.mid), 1e-15);
    for (const DynamicsSet& set : sets)
    {
        EXPECT_TRUE(IsUsableDynamicsSet(set));
    }
    // Silence is floored, never 0.
    const std::vector<double> silence(kRate, 0.0);
    for (const DynamicsSet& set : DynamicsFingerprint(silence, kRate, kFloor))
    {
        for (const double rms : set.bandRms)
        {
            EXPECT_EQ(rms, kFloor);
        }
    }
}

TEST(DynamicsFingerprint, UnusableSetsAreRecognised)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const DynamicsSet unusable[] = {
        {0, {}},         {9, std::vector<double>(9, 0.1)},
        {3, {0.1, 0.1}}, {2, {0.1, nan}},
        {1, {0.0}},      {1, {std::numeric_limits<double>::infinity()}},
    };
    for (const DynamicsSet& set : unusable)
    {
        EXPECT_FALSE(IsUsableDynamicsSet(set)) << set.bandCount << " bands";
    }
    EXPECT_TRUE(IsUsableDynamicsSet({8, std::vector<double>(8, 1e-6)}));
}
