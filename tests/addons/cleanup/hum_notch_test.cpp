#include "addons/cleanup/hum_notch.h"

#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{

class HumNotchAtRate : public ::testing::TestWithParam<int>
{
protected:
    // The gain at `frequencyHz` once the narrow notches have settled (they
    // ring for a few tenths of a second).
    double GainDb(double frequencyHz, double baseFrequencyHz) const
    {
        const int rate = GetParam();
        const AudioBuffer input = StereoSine(frequencyHz, rate, 4.0, 0.5);
        const AudioBuffer output =
            ProcessedBy<HumNotch>(input, {{"base_frequency_hz", baseFrequencyHz}});
        return ToneGainDb(input, output, frequencyHz, FramesIn(2.0, rate));
    }
};

} // namespace

// The mains frequency is stored as 50 or 60 Hz, whatever is asked; a value
// that is not a number is refused.
TEST(HumNotch, StoresTheNearerMainsFrequency)
{
    struct Case
    {
        double asked;
        double stored;
    };
    const Case cases[] = {
        {52.0, 50.0}, {57.0, 60.0},  {54.99, 50.0},
        {55.0, 60.0}, {-10.0, 50.0}, {200.0, 60.0},
        {50.0, 50.0}, {60.0, 60.0},  {std::numeric_limits<double>::infinity(), 60.0}};
    for (const Case& c : cases)
    {
        HumNotch notch;
        ASSERT_TRUE(notch.setParameter("base_frequency_hz", 50.0 + 60.0 - c.stored));
        EXPECT_TRUE(notch.setParameter("base_frequency_hz", c.asked)) << c.asked;
        double stored = 0.0;
        EXPECT_TRUE(notch.getParameter("base_frequency_hz", stored));
        EXPECT_EQ(stored, c.stored) << c.asked;
    }
    HumNotch notch;
    EXPECT_FALSE(notch.setParameter("base_frequency_hz", std::numeric_limits<double>::quiet_NaN()));
    EXPECT_TRUE(notch.setParameter("amount", 3.0));
    double amount = 0.0;
    EXPECT_TRUE(notch.getParameter("amount", amount));
    EXPECT_EQ(amount, 1.0);
}

// The mains frequency and its second and third harmonics are each taken more
// than 40 dB down, while the other mains' hum 10 Hz away loses under 1 dB.
TEST_P(HumNotchAtRate, NotchesTheMainsAndItsHarmonics)
{
    for (int harmonic = 1; harmonic <= 3; ++harmonic)
    {
        EXPECT_LT(GainDb(50.0 * harmonic, 52.0), -40.0) << 50 * harmonic << " Hz";
        EXPECT_LT(GainDb(60.0 * harmonic, 57.0), -40.0) << 60 * harmonic << " Hz";
    }
    EXPECT_GT(GainDb(70.0, 60.0), -1.0);
    EXPECT_GT(GainDb(60.0, 50.0), -1.0);
    EXPECT_NEAR(GainDb(1000.0, 60.0), 0.0, 0.05);
}

INSTANTIATE_TEST_SUITE_P(Rates, HumNotchAtRate, AddonTestRates(), RateTestName);
