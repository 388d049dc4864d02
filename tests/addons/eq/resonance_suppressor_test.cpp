#include "addons/eq/resonance_suppressor.h"

#include "tests/support/addon_test_rates.h"
#include "tests/support/band_cut_check.h"

#include <gtest/gtest.h>

namespace
{

class ResonanceSuppressorAtRate : public ::testing::TestWithParam<int>
{
};

} // namespace

// The narrow band (k 0.4) at 3.2 kHz: cut by at most 6.0 dB times the amount.
TEST_P(ResonanceSuppressorAtRate, ALoudToneAtTheFrequencyIsCutToTheFloorAndNoFurther)
{
    ExpectALoudCentreToneCutToTheFloor<ResonanceSuppressor>(GetParam(), 3200.0, 0.4, 6.0);
}

INSTANTIATE_TEST_SUITE_P(Rates, ResonanceSuppressorAtRate, AddonTestRates(), RateTestName);
