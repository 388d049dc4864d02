#include "addons/dynamics/broadband_expander.h"

#include "tests/addons/dynamics/level_step_fixture.h"
#include "tests/support/addon_test_rates.h"

#include <gtest/gtest.h>

namespace
{

class BroadbandExpanderAtRate : public ::testing::TestWithParam<int>
{
};

} // namespace

// Under the threshold each dB the level falls takes (ratio - 1) dB of gain
// with it, down to the range; at or above the threshold the gain goes back to
// 0 dB. No frame is ever turned down by more than the range, or up.
TEST_P(BroadbandExpanderAtRate, TurnsQuietMaterialDownWithinItsRange)
{
    const LevelStepCase cases[] = {
        // 10 dB under the threshold, the range out of reach, then reached
        {{{"threshold_db", -36.0}, {"ratio", 2.0}, {"range_db", 12.0}}, -46, -46, -10, -12, 0},
        {{{"threshold_db", -36.0}, {"ratio", 2.0}, {"range_db", 6.0}}, -46, -46, -6, -6, 0},
        {{{"threshold_db", -36.0}, {"ratio", 4.0}, {"range_db", 24.0}}, -46, -46, -24, -24, 0},
        {{{"threshold_db", -36.0}, {"ratio", 1.5}, {"range_db", 24.0}}, -56, -56, -10, -24, 0},
        // from deep under to the threshold, and above it
        {{{"threshold_db", -36.0}, {"ratio", 2.0}, {"range_db", 12.0}}, -60, -36, 0, -12, 0},
        {{{"threshold_db", -36.0}, {"ratio", 4.0}, {"range_db", 24.0}}, -60, -20, 0, -24, 0},
    };
    for (const LevelStepCase& c : cases)
    {
        BroadbandExpander addon;
        ExpectLevelStep(addon, GetParam(), c);
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, BroadbandExpanderAtRate, AddonTestRates(), RateTestName);

// The follower starts at 0, so a loud opening first reads as far under the
// threshold; the smoother moves from 0 dB with the attack coefficient only
// until the follower has risen, so the opening dips a little and comes back.
TEST(BroadbandExpander, ALoudOpeningDipsBrieflyAndComesBack)
{
    const AudioBuffer input = LevelStep(48000, -6.0, -6.0);
    const AudioBuffer output = ProcessedBy<BroadbandExpander>(input);
    const auto [lowestDb, highestDb] = FrameGainRangeDb(input, output);
    EXPECT_LT(lowestDb, -0.01);
    EXPECT_GT(lowestDb, -0.5);
    EXPECT_NEAR(SettledGainDb(input, output), 0.0, 0.01);
}
