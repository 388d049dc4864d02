#include "addons/eq/presence_lift.h"

#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

namespace
{

class PresenceLiftAtRate : public ::testing::TestWithParam<int>
{
};

} // namespace

// The bell's gain at its centre is exact: +3.5 dB times the amount there, and
// next to nothing two octaves either side.
TEST_P(PresenceLiftAtRate, LiftsThreeAndAHalfDbTimesTheAmountAtTheTarget)
{
    const int rate = GetParam();
    for (double target : {2000.0, 3200.0, 5000.0})
    {
        for (double amount : {1.0, 0.5})
        {
            const AudioBuffer input = StereoSine(target, rate, 1.0, 0.5);
            const AudioBuffer output =
                ProcessedBy<PresenceLift>(input, {{"amount", amount}, {"target_hz", target}});
            EXPECT_NEAR(ToneGainDb(input, output, target, rate / 2), 3.5 * amount, 0.05)
                << target << " Hz, amount " << amount;
            EXPECT_NEAR(ToneGainDb(input, output, target, rate / 2, 1), 3.5 * amount, 0.05);
        }
    }
    const AudioBuffer far = StereoSine(200.0, rate, 1.0, 0.5);
    EXPECT_NEAR(ToneGainDb(far, ProcessedBy<PresenceLift>(far, {{"amount", 1.0}}), 200.0, rate / 2),
                0.0, 0.1);
}

INSTANTIATE_TEST_SUITE_P(Rates, PresenceLiftAtRate, AddonTestRates(), RateTestName);
