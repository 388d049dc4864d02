#include "engine/stages/stage1_level_match.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <stdexcept>
#include <vector>

namespace
{

// A stereo buffer whose frame i is (left(i), right(i)).
template <typename Left, typename Right>
AudioBuffer MakeStereo(int sampleRate, std::size_t frames, Left left, Right right)
{
    AudioBuffer buffer;
    buffer.sampleRate = sampleRate;
    buffer.samples.resize(2 * frames);
    for (std::size_t i = 0; i < frames; ++i)
    {
        buffer.samples[2 * i] = left(i);
        buffer.samples[2 * i + 1] = right(i);
    }
    return buffer;
}

double Rms(const std::vector<double>& signal)
{
    double sum = 0.0;
    for (double value : signal)
    {
        sum += value * value;
    }
    return std::sqrt(sum / signal.size());
}

// A slow sine, 0.01 radians a frame whatever the rate, for tests of the piece
// grid, which care about frame counts and not about frequency.
double SlowSine(std::size_t i)
{
    return 0.5 * std::sin(0.01 * static_cast<double>(i));
}

TEST(SplitMidSide, MidIsTheMeanAndSideHalfTheDifference)
{
    const AudioBuffer buffer = MakeStereo(
        48000, 3, [](std::size_t i) { return 1.0 + i; }, [](std::size_t i) { return -2.0 * i; });
    const MidSideSignals signals = SplitMidSide(buffer);
    EXPECT_EQ(signals.mid, (std::vector<double>{0.5, 0.0, -0.5}));
    EXPECT_EQ(signals.side, (std::vector<double>{0.5, 2.0, 3.5}));
}

TEST(BlockRms, MeasuresEachBlockAndReadsZeroWhereNoBlockFits)
{
    const std::vector<double> signal = {3.0, 4.0, 0.0, 0.0, 1.0};
    EXPECT_EQ(BlockRms(signal, 2, 2), (std::vector<double>{std::sqrt(12.5), 0.0}));
    EXPECT_EQ(BlockRms(signal, 1, 6), (std::vector<double>{3.0, 4.0, 0.0, 0.0, 1.0, 0.0}));
    EXPECT_EQ(BlockRms(signal, 0, 2), (std::vector<double>{0.0, 0.0}));
}

struct GridCase
{
    std::size_t frames;
    int sampleRate;
    int pieceCount;
    int pieceLength;
};

class PieceGrid : public testing::TestWithParam<GridCase>
{
};

TEST_P(PieceGrid, CutsEqualPiecesNoLongerThanTheMaximum)
{
    const GridCase c = GetParam();
    const AudioBuffer buffer = MakeStereo(c.sampleRate, c.frames, SlowSine, SlowSine);
    const PieceAnalysis analysis = SplitIntoPieces(buffer, 15.0);
    EXPECT_EQ(analysis.pieceCount, c.pieceCount);
    EXPECT_EQ(analysis.pieceLength, c.pieceLength);
    EXPECT_EQ(analysis.mid.size(), c.frames) << "mid and side cover the whole track";
    EXPECT_EQ(analysis.selectedMid.size(),
              static_cast<std::size_t>(analysis.selectedCount) * c.pieceLength);
}

INSTANTIATE_TEST_SUITE_P(
    Tracks, PieceGrid,
    testing::Values(GridCase{480000, 48000, 1, 480000},  // 10 s: one piece
                    GridCase{1920000, 48000, 3, 640000}, // 40 s: nothing left over
                    GridCase{1367101, 44100, 3, 455700}, // 31 s and a frame: it is left over
                    GridCase{1, 48000, 1, 1}),           // one frame still forms a piece
    [](const testing::TestParamInfo<GridCase>& info)
    { return std::to_string(info.param.frames) + "_frames"; });

TEST(SplitIntoPieces, APieceSpanIsWholeFramesBeforeItIsComparedWithTheTrack)
{
    // 10.5 frames per piece truncate to 10, which does not exceed the 10-frame
    // track: two pieces of five, not one piece of ten.
    const AudioBuffer buffer = MakeStereo(10, 10, SlowSine, SlowSine);
    const PieceAnalysis analysis = SplitIntoPieces(buffer, 1.05);
    EXPECT_EQ(analysis.pieceCount, 2);
    EXPECT_EQ(analysis.pieceLength, 5);
}

TEST(SplitIntoPieces, OnePieceSelectsItselfAtTheMidRms)
{
    const AudioBuffer buffer = MakeStereo(48000, 480000, SlowSine, [](std::size_t) { return 0.0; });
    const PieceAnalysis analysis = SplitIntoPieces(buffer, 15.0);
    ASSERT_EQ(analysis.selectedCount, 1);
    EXPECT_DOUBLE_EQ(analysis.selectedRms, Rms(analysis.mid));
    EXPECT_EQ(analysis.selectedMid, analysis.mid);
    EXPECT_EQ(analysis.selectedSide, analysis.side);
}

TEST(SplitIntoPieces, SelectsThePiecesAtOrAboveTheQuadraticMeanInOrder)
{
    // 36 frames with a span of 10 make 36 / 10 + 1 = 4 pieces of 9 frames, each
    // of constant level: mid = 0.75 a, side = 0.25 a.
    const double levels[] = {0.1, 0.8, 0.2, 0.6};
    const auto left = [&](std::size_t i) { return levels[i / 9]; };
    const auto right = [&](std::size_t i) { return levels[i / 9] / 2.0; };
    const AudioBuffer buffer = MakeStereo(10, 36, left, right);
    const PieceAnalysis analysis = SplitIntoPieces(buffer, 1.0);

    ASSERT_EQ(analysis.pieceCount, 4);
    ASSERT_EQ(analysis.pieceLength, 9);
    // threshold = 0.75 * sqrt((0.01 + 0.64 + 0.04 + 0.36) / 4) = 0.75 * 0.512
    ASSERT_EQ(analysis.selectedCount, 2) << "only the 0.8 and 0.6 pieces reach the threshold";
    EXPECT_NEAR(analysis.selectedRms, 0.75 * std::sqrt((0.64 + 0.36) / 2.0), 1e-15);
    EXPECT_NEAR(analysis.selectedMid.front(), 0.75 * 0.8, 1e-15);
    EXPECT_NEAR(analysis.selectedMid.back(), 0.75 * 0.6, 1e-15);
    EXPECT_NEAR(analysis.selectedSide.back(), 0.25 * 0.6, 1e-15);
}

TEST(MatchLevel, TheSelectedPiecesAreTheScaledFramesOfTheirPlaces)
{
    // 37 frames with a span of 10: four pieces of 9 frames, the last frame
    // left over; a ramp inside each piece tells its frames apart.
    const double levels[] = {0.1, 0.8, 0.2, 0.6, 0.9};
    const auto left = [&](std::size_t i) { return levels[i / 9] + 0.001 * i; };
    const auto right = [&](std::size_t i) { return 0.5 * levels[i / 9] - 0.002 * i; };
    const LevelAnalysis level =
        MatchLevel(MakeStereo(10, 37, left, right), {0.3, 1.0}, {1.0, 1.0, 1e-6});
    ASSERT_EQ(level.mid.size(), 37u) << "the frame left over still has its mid and side";
    ASSERT_EQ(level.selectedCount, 2);
    const double gain = 0.3 / level.selectedRms;
    EXPECT_NEAR(level.mid[36], (left(36) + right(36)) * 0.5 * gain, 1e-15);
    std::vector<double> mid(level.mid.begin() + 9, level.mid.begin() + 18);
    mid.insert(mid.end(), level.mid.begin() + 27, level.mid.begin() + 36);
    std::vector<double> side(level.side.begin() + 9, level.side.begin() + 18);
    side.insert(side.end(), level.side.begin() + 27, level.side.begin() + 36);
    EXPECT_EQ(level.selectedMid, mid) << "pieces 1 and 3 are the loud ones";
    EXPECT_EQ(level.selectedSide, side);
}

TEST(SplitIntoPieces, PiecesOfEqualLevelAreAllSelected)
{
    // 0.1 squared and averaged does not round back to 0.01 exactly.
    const auto level = [](std::size_t) { return 0.1; };
    for (std::size_t frames : {36u, 70u, 1000u})
    {
        const PieceAnalysis analysis = SplitIntoPieces(MakeStereo(10, frames, level, level), 1.0);
        EXPECT_EQ(analysis.selectedCount, analysis.pieceCount) << frames << " frames";
    }
}

TEST(SplitIntoPieces, CancellingChannelsGiveSilentMidAndSelectEveryPiece)
{
    const AudioBuffer antiPhase =
        MakeStereo(10, 40, SlowSine, [](std::size_t i) { return -SlowSine(i); });
    const PieceAnalysis analysis = SplitIntoPieces(antiPhase, 1.0);
    EXPECT_EQ(analysis.selectedCount, analysis.pieceCount);
    EXPECT_EQ(analysis.selectedRms, 0.0);
    EXPECT_EQ(Rms(analysis.mid), 0.0);

    const AudioBuffer mono = MakeStereo(10, 40, SlowSine, SlowSine);
    EXPECT_EQ(Rms(SplitIntoPieces(mono, 1.0).side), 0.0);
}

TEST(SplitIntoPieces, RefusesATrackThatFormsNoPiece)
{
    const auto zero = [](std::size_t) { return 0.0; };
    const struct
    {
        const char* what;
        AudioBuffer buffer;
        double maxPieceSeconds;
    } cases[] = {
        {"empty track", MakeStereo(48000, 0, zero, zero), 15.0},
        {"pieces of one frame", MakeStereo(1, 5, zero, zero), 1.0},
        {"sample rate 0", MakeStereo(0, 1000, zero, zero), 15.0},
        {"NaN piece length", MakeStereo(48000, 0, zero, zero), std::nan("")},
    };
    for (const auto& c : cases)
    {
        EXPECT_THROW(
            {
                try
                {
                    SplitIntoPieces(c.buffer, c.maxPieceSeconds);
                }
                catch (const std::runtime_error& error)
                {
                    EXPECT_STREQ(error.what(), "Audio too short") << c.what;
                    throw;
                }
            },
            std::runtime_error)
            << c.what;
    }
}

TEST(AnalyseReferenceLevel, RaisesAQuietReferenceToTheCeilingOnly)
{
    const LevelSettings settings;
    const auto half = [](std::size_t i) { return i % 7 == 3 ? -0.5 : 0.25 * std::sin(0.1 * i); };
    const LevelAnalysis quiet = AnalyseReferenceLevel(MakeStereo(100, 500, half, half), settings);
    EXPECT_DOUBLE_EQ(quiet.amplitude, 0.5 / settings.peakCeiling);
    double peak = 0.0;
    for (double mid : quiet.mid)
    {
        peak = std::max(peak, std::abs(mid));
    }
    EXPECT_DOUBLE_EQ(peak, settings.peakCeiling) << "the raised reference peaks at the ceiling";

    const auto full = [](std::size_t i) { return i == 10 ? 1.0 : 0.1; };
    const LevelAnalysis loud = AnalyseReferenceLevel(MakeStereo(100, 500, full, full), settings);
    EXPECT_EQ(loud.amplitude, 1.0);
    EXPECT_EQ(loud.mid[10], 1.0) << "a reference at full scale is left as it is";

    const auto zero = [](std::size_t) { return 0.0; };
    const LevelAnalysis silent = AnalyseReferenceLevel(MakeStereo(100, 500, zero, zero), settings);
    EXPECT_EQ(silent.amplitude, settings.floor) << "the raise stops at 1 / floor";
    EXPECT_EQ(Rms(silent.mid), 0.0);
}

TEST(MatchLevel, BringsTheLoudPiecesToTheReferenceRms)
{
    const ReferenceLevel reference{0.2, 0.9};
    const auto left = [](std::size_t i) { return (i < 1000 ? 0.05 : 0.4) * std::sin(0.03 * i); };
    const AudioBuffer track = MakeStereo(100, 3000, left, SlowSine);
    const LevelAnalysis level = MatchLevel(track, reference, {10.0, 1.0, 1e-6});

    const PieceAnalysis before = SplitIntoPieces(track, 10.0);
    EXPECT_EQ(level.selectedRms, before.selectedRms) << "selectedRms is measured before the gain";
    EXPECT_EQ(level.amplitude, reference.finalAmplitudeCoefficient);
    EXPECT_NEAR(Rms(level.selectedMid), reference.referenceMatchRms, 1e-12);
    const double gain = reference.referenceMatchRms / before.selectedRms;
    EXPECT_NEAR(level.side[2500], before.side[2500] * gain, 1e-15);
    EXPECT_NEAR(level.selectedSide.back(), before.selectedSide.back() * gain, 1e-15);
}

TEST(MatchLevel, SilenceMeetsTheLargestGainAndStaysSilent)
{
    const auto zero = [](std::size_t) { return 0.0; };
    const LevelAnalysis level =
        MatchLevel(MakeStereo(48000, 48000, zero, zero), {0.1, 1.0}, LevelSettings{});
    EXPECT_EQ(level.selectedCount, level.pieceCount);
    EXPECT_EQ(level.selectedRms, 0.0);
    EXPECT_EQ(Rms(level.mid), 0.0);
    EXPECT_EQ(Rms(level.side), 0.0);
}

TEST(SplitIntoPieces, RefusesSamplesThatAreNotNumbers)
{
    // Index 1999 is the last frame's right channel: three pieces of 333 frames
    // leave that frame outside every piece, yet it would reach the output.
    for (const std::size_t index : {std::size_t{10}, std::size_t{1999}})
    {
        for (double invalid : {std::numeric_limits<double>::quiet_NaN(),
                               std::numeric_limits<double>::infinity(), 1e200})
        {
            if (invalid == 1e200 && index == 1999)
            {
                continue; // a finite sample outside every piece is simply not measured
            }
            AudioBuffer track = MakeStereo(100, 1000, SlowSine, SlowSine);
            track.samples[index] = invalid;
            try
            {
                MatchLevel(track, {0.1, 1.0}, {5.0, 1.0, 1e-6});
                ADD_FAILURE() << invalid << " at " << index << " was accepted";
            }
            catch (const std::runtime_error& error)
            {
                // Frame 5 of 100 per second; the last frame, 999, stands at 9.99 s.
                EXPECT_STREQ(error.what(),
                             index == 10 ? "Audio contains invalid samples (the first at 0.050 s)"
                                         : "Audio contains invalid samples (the first at 9.990 s)")
                    << invalid;
            }
        }
    }
}

} // namespace
