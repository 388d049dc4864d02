#include "addons/dynamics/upward_expander.h"

#include "tests/addons/dynamics/level_step_fixture.h"
#include "tests/support/addon_test_rates.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

class UpwardExpanderAtRate : public ::testing::TestWithParam<int>
{
};

} // namespace

// Under the threshold the lift is 0.38 dB per dB at amount 1, scaled by the
// amount and capped at the maximum lift; at or above the threshold it goes
// back to 0 dB. No frame is ever lifted past the cap or turned down.
TEST_P(UpwardExpanderAtRate, LiftsQuietMaterialUpToItsCap)
{
    const LevelStepCase cases[] = {
        // 10 dB under the threshold, the cap out of reach, then reached
        {{{"threshold_db", -34.0}, {"amount", 1.0}, {"max_lift_db", 12.0}}, -44, -44, 3.8, 0, 12},
        {{{"threshold_db", -34.0}, {"amount", 1.0}, {"max_lift_db", 2.0}}, -44, -44, 2.0, 0, 2},
        {{{"threshold_db", -34.0}, {"amount", 0.5}, {"max_lift_db", 12.0}}, -44, -44, 1.9, 0, 12},
        // 40 dB under: 15.2 dB, capped
        {{{"threshold_db", -20.0}, {"amount", 1.0}, {"max_lift_db", 12.0}}, -60, -60, 12.0, 0, 12},
        // from deep under to the threshold, and above it
        {{{"threshold_db", -34.0}, {"amount", 1.0}, {"max_lift_db", 12.0}}, -60, -34, 0.0, 0, 12},
        {{{"threshold_db", -34.0}, {"amount", 1.0}, {"max_lift_db", 12.0}}, -60, -20, 0.0, 0, 12},
        // out of near-silence, 5 dB under
        {{{"threshold_db", -12.0}, {"amount", 1.0}, {"max_lift_db", 6.0}}, -200, -17, 1.9, 0, 6},
    };
    for (const LevelStepCase& c : cases)
    {
        UpwardExpander addon;
        ExpectLevelStep(addon, GetParam(), c);
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, UpwardExpanderAtRate, AddonTestRates(), RateTestName);

// The lift starts from 0 dB and rises with the attack coefficient, although
// the follower, starting from 0, reads the opening as far under the threshold:
// the first frame is barely lifted.
TEST(UpwardExpander, TheLiftRisesFromZeroInItsAttackTime)
{
    const int rate = 48000;
    const AudioBuffer input = LevelStep(rate, -60.0, -60.0);
    const AudioBuffer output = ProcessedBy<UpwardExpander>(
        input,
        {{"threshold_db", -12.0}, {"amount", 1.0}, {"max_lift_db", 12.0}, {"attack_ms", 20.0}});
    const double firstDb = GainToDb(output.samples[0] / input.samples[0], 0.0);
    EXPECT_NEAR(firstDb, 12.0 / (20.0 * 0.001 * rate), 1e-3) << "one step of 1 - coef(20 ms)";
    const size_t attackFrame = FramesIn(0.02, rate);
    const double afterAttackDb =
        GainToDb(output.samples[2 * attackFrame] / input.samples[2 * attackFrame], 0.0);
    EXPECT_NEAR(afterAttackDb, 12.0 * (1.0 - std::exp(-1.0)), 0.05);
}
