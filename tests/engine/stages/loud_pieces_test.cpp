#include "engine/stages/loud_pieces.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

TEST(LoudPieces, EqualPiecesAreAllLoudWhateverTheRounding)
{
    // The quadratic mean of equal values can round a step above them; a
    // threshold above every piece would select none and match the level
    // against the floor (a gain of some +90 dB).
    std::mt19937 random(7);
    std::uniform_real_distribution<double> level(1e-4, 1.0);
    for (int trial = 0; trial < 2000; ++trial)
    {
        const std::vector<double> pieces(3 + trial % 5, level(random));
        EXPECT_LE(LoudPieceThreshold(pieces), pieces[0]) << pieces[0];
    }
}

TEST(LoudPieces, ThresholdIsTheQuadraticMeanOfThePieces)
{
    const std::vector<double> pieces{0.1, 0.2, 0.4};
    EXPECT_NEAR(LoudPieceThreshold(pieces), std::sqrt((0.01 + 0.04 + 0.16) / 3.0), 1e-15);
    EXPECT_EQ(QuadraticMean({}), 0.0);
    EXPECT_EQ(LoudPieceThreshold({}), 0.0);
}
