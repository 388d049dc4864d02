#include "addons/eq/low_mid_cleanup.h"

#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

namespace
{

class LowMidCleanupAtRate : public ::testing::TestWithParam<int>
{
};

} // namespace

// The bell's gain at its centre is exact: -3 dB times the amount there, and
// next to nothing two octaves either side.
TEST_P(LowMidCleanupAtRate, CutsThreeDbTimesTheAmountAtTheTarget)
{
    const int rate = GetParam();
    for (double target : {180.0, 280.0, 450.0})
    {
        for (double amount : {1.0, 0.5})
        {
            const AudioBuffer input = StereoSine(target, rate, 1.0, 0.5);
            const AudioBuffer output =
                ProcessedBy<LowMidCleanup>(input, {{"amount", amount}, {"target_hz", target}});
            EXPECT_NEAR(ToneGainDb(input, output, target, rate / 2), -3.0 * amount, 0.05)
                << target << " Hz, amount " << amount;
            EXPECT_NEAR(ToneGainDb(input, output, target, rate / 2, 1), -3.0 * amount, 0.05);
        }
    }
    const AudioBuffer far = StereoSine(4000.0, rate, 1.0, 0.5);
    EXPECT_NEAR(
        ToneGainDb(far, ProcessedBy<LowMidCleanup>(far, {{"amount", 1.0}}), 4000.0, rate / 2), 0.0,
        0.1);
}

INSTANTIATE_TEST_SUITE_P(Rates, LowMidCleanupAtRate, AddonTestRates(), RateTestName);
