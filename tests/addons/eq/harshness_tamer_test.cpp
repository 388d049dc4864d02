#include "addons/eq/harshness_tamer.h"

#include "tests/support/addon_test_rates.h"
#include "tests/support/band_cut_check.h"

#include <gtest/gtest.h>

namespace
{

class HarshnessTamerAtRate : public ::testing::TestWithParam<int>
{
};

} // namespace

// The upper-mid band (k 1.5) at 4.5 kHz: cut by at most 8.0 dB times the amount.
TEST_P(HarshnessTamerAtRate, ALoudToneAtTheFrequencyIsCutToTheFloorAndNoFurther)
{
    ExpectALoudCentreToneCutToTheFloor<HarshnessTamer>(GetParam(), 4500.0, 1.5, 8.0);
}

INSTANTIATE_TEST_SUITE_P(Rates, HarshnessTamerAtRate, AddonTestRates(), RateTestName);
