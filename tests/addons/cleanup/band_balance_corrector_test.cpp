#include "addons/cleanup/band_balance_corrector.h"

#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <utility>

namespace
{

class BandBalanceCorrectorAtRate : public ::testing::TestWithParam<int>
{
protected:
    // The gain of each channel for a tone of `frequencyHz`, after a quarter
    // second of settling.
    std::pair<double, double> LeanDb(double frequencyHz, const AddonSetting& setting) const
    {
        const int rate = GetParam();
        const AudioBuffer input = StereoSine(frequencyHz, rate, 1.25, 0.5);
        const AudioBuffer output = ProcessedBy<BandBalanceCorrector>(input, setting);
        const std::size_t settled = static_cast<std::size_t>(rate) / 4;
        return {ToneGainDb(input, output, frequencyHz, settled, 0),
                ToneGainDb(input, output, frequencyHz, settled, 1)};
    }
};

} // namespace

// A positive mid balance lowers the 350 Hz - 2400 Hz band on the left and
// raises it on the right, by up to 1.5 dB each where the one-pole bands are
// purest; a negative one mirrors it. The lows never move, so a 60 Hz tone
// stays where it was but for the little of it the middle band holds.
TEST_P(BandBalanceCorrectorAtRate, MidBalanceLeansTheMiddleBandAndLeavesTheLows)
{
    for (double balance : {1.0, -1.0})
    {
        const auto [left, right] = LeanDb(1000.0, {{"mid_balance.amount", balance}});
        // The one-pole bands overlap, so 1 kHz is not wholly in the middle
        // band: the side turned down loses 1.09 dB, the side turned up gains
        // 1.14 dB.
        EXPECT_NEAR(left, balance > 0.0 ? -1.09 : 1.14, 0.02) << "balance " << balance;
        EXPECT_NEAR(right, balance > 0.0 ? 1.14 : -1.09, 0.02) << "balance " << balance;
        const auto [lowLeft, lowRight] = LeanDb(60.0, {{"mid_balance.amount", balance}});
        EXPECT_NEAR(lowLeft, 0.0, 0.3);
        EXPECT_NEAR(lowRight, 0.0, 0.3);
    }
}

// The high band above 2400 Hz leans by up to 2 dB a side (12 kHz, where a
// one-pole low-pass still leaks a little, by 1.6 to 1.8 dB); the middle
// band's balance leaves it nearly alone.
TEST_P(BandBalanceCorrectorAtRate, HighBalanceLeansTheHighBand)
{
    const auto [left, right] = LeanDb(12000.0, {{"high_balance.amount", 1.0}});
    EXPECT_GT(left, -2.0);
    EXPECT_LT(left, -1.5);
    EXPECT_GT(right, 1.5);
    EXPECT_LT(right, 2.0);
    const auto [midLeft, midRight] = LeanDb(12000.0, {{"mid_balance.amount", 1.0}});
    EXPECT_NEAR(midLeft, 0.0, 0.3);
    EXPECT_NEAR(midRight, 0.0, 0.3);
}

INSTANTIATE_TEST_SUITE_P(Rates, BandBalanceCorrectorAtRate, AddonTestRates(), RateTestName);
