#include "addons/eq/air_shelf.h"

#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

namespace
{

class AirShelfAtRate : public ::testing::TestWithParam<int>
{
};

} // namespace

// A first-order shelf: the bass keeps its level, the top rises towards the
// full lift of amount x gain_db and never past it.
TEST_P(AirShelfAtRate, LiftsTheTopAndLeavesTheBass)
{
    const int rate = GetParam();
    for (double frequency : {8000.0, 12000.0, 18000.0})
    {
        const AudioBuffer bass = StereoSine(100.0, rate, 1.0, 0.5);
        const AudioBuffer top = StereoSine(15000.0, rate, 1.0, 0.5);
        const AddonSetting setting{{"amount", 1.0}, {"gain_db", 8.0}, {"frequency_hz", frequency}};
        EXPECT_NEAR(ToneGainDb(bass, ProcessedBy<AirShelf>(bass, setting), 100.0, rate / 2), 0.0,
                    0.1)
            << frequency << " Hz";
        const double topDb =
            ToneGainDb(top, ProcessedBy<AirShelf>(top, setting), 15000.0, rate / 2);
        EXPECT_GT(topDb, 1.0) << frequency << " Hz";
        EXPECT_LT(topDb, 8.0) << frequency << " Hz";
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, AirShelfAtRate, AddonTestRates(), RateTestName);
