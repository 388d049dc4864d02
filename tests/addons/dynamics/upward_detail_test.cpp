#include "addons/dynamics/upward_detail.h"

#include "tests/addons/dynamics/level_step_fixture.h"
#include "tests/support/addon_test_rates.h"

#include <gtest/gtest.h>

namespace
{

class UpwardDetailAtRate : public ::testing::TestWithParam<int>
{
};

} // namespace

// 0.35 dB of lift per dB under a threshold of 8 * amount - 30 dB, capped at
// amount * lift_db; none at or above the threshold. No frame is lifted past
// the cap or turned down.
TEST_P(UpwardDetailAtRate, LiftsQuietDetailUpToItsCap)
{
    const LevelStepCase cases[] = {
        // 10 dB under -22 dB, the cap out of reach, then reached
        {{{"amount", 1.0}, {"lift_db", 8.0}}, -32, -32, 3.5, 0, 8},
        {{{"amount", 1.0}, {"lift_db", 2.0}}, -32, -32, 2.0, 0, 2},
        // 10 dB under -26 dB, under the cap of 4; then capped at amount * lift
        {{{"amount", 0.5}, {"lift_db", 8.0}}, -36, -36, 3.5, 0, 4},
        {{{"amount", 0.25}, {"lift_db", 8.0}}, -60, -60, 2.0, 0, 2},
        // from deep under to the threshold, and above it
        {{{"amount", 1.0}, {"lift_db", 8.0}}, -60, -22, 0.0, 0, 8},
        {{{"amount", 1.0}, {"lift_db", 8.0}}, -60, -6, 0.0, 0, 8},
    };
    for (const LevelStepCase& c : cases)
    {
        UpwardDetail addon;
        ExpectLevelStep(addon, GetParam(), c);
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, UpwardDetailAtRate, AddonTestRates(), RateTestName);
