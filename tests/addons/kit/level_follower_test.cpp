#include "addons/kit/level_follower.h"

#include "addons/kit/time_coefficient.h"

#include <gtest/gtest.h>

#include <vector>

TEST(LevelFollower, AttacksWhileTheInputIsAboveAndReleasesOtherwise)
{
    // Attack 0.5, release 0.9: each step says which coefficient it took.
    double state = 0.0;
    EXPECT_DOUBLE_EQ(FollowLevel(state, 1.0, 0.5, 0.9), 0.5) << "rise: attack";
    EXPECT_DOUBLE_EQ(FollowLevel(state, 0.5, 0.5, 0.9), 0.5) << "equal input: release";
    EXPECT_DOUBLE_EQ(FollowLevel(state, 0.0, 0.5, 0.9), 0.45) << "fall: release";
    EXPECT_DOUBLE_EQ(state, 0.45) << "the state is updated in place";
}

TEST(LevelFollower, FastAttackSlowReleaseHoldsPeaks)
{
    const double fs = 48000.0;
    const double attack = TimeCoefficient(1.0, fs);
    const double release = TimeCoefficient(100.0, fs);
    double state = 0.0;
    for (int i = 0; i < 480; ++i) // 10 ms, ten attack times
    {
        FollowLevel(state, 1.0, attack, release);
    }
    EXPECT_NEAR(state, 1.0, 1e-4);
    for (int i = 0; i < 4800; ++i) // 100 ms, one release time
    {
        FollowLevel(state, 0.0, attack, release);
    }
    EXPECT_NEAR(state, std::exp(-1.0), 1e-3) << "falls by 1/e in one release time";
}

TEST(DecibelLevel, SilenceReadsTheFloor)
{
    EXPECT_DOUBLE_EQ(DecibelLevel(0.0), -240.0);
    EXPECT_DOUBLE_EQ(DecibelLevel(-1.0), -240.0);
    EXPECT_DOUBLE_EQ(DecibelLevel(1.0), 0.0);
    EXPECT_NEAR(DecibelLevel(0.5), -6.0206, 1e-4);
}
