#include "addons/dynamics/detail_extractor.h"

#include "tests/addons/dynamics/level_step_fixture.h"
#include "tests/support/addon_test_rates.h"

#include <gtest/gtest.h>

namespace
{

class DetailExtractorAtRate : public ::testing::TestWithParam<int>
{
};

} // namespace

// Half a dB of lift per dB under a threshold of 10 * amount - 24 dB, capped at
// amount * detail_lift_db; none at or above the threshold. No frame is lifted
// past the cap or turned down.
TEST_P(DetailExtractorAtRate, LiftsQuietDetailUpToItsCap)
{
    const LevelStepCase cases[] = {
        // 10 dB under -14 dB, the cap out of reach, then reached
        {{{"amount", 1.0}, {"detail_lift_db", 12.0}}, -24, -24, 5.0, 0, 12},
        {{{"amount", 1.0}, {"detail_lift_db", 4.0}}, -24, -24, 4.0, 0, 4},
        // 10 dB under -19 dB, under the cap of 6; then capped at amount * lift
        {{{"amount", 0.5}, {"detail_lift_db", 12.0}}, -29, -29, 5.0, 0, 6},
        {{{"amount", 0.5}, {"detail_lift_db", 6.0}}, -60, -60, 3.0, 0, 3},
        // from deep under to the threshold, and above it
        {{{"amount", 1.0}, {"detail_lift_db", 12.0}}, -60, -14, 0.0, 0, 12},
        {{{"amount", 1.0}, {"detail_lift_db", 12.0}}, -60, -3, 0.0, 0, 12},
    };
    for (const LevelStepCase& c : cases)
    {
        DetailExtractor addon;
        ExpectLevelStep(addon, GetParam(), c);
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, DetailExtractorAtRate, AddonTestRates(), RateTestName);
