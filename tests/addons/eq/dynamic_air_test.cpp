#include "addons/eq/dynamic_air.h"

#include "engine/decibels.h"
#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace
{

class DynamicAirAtRate : public ::testing::TestWithParam<int>
{
};

// The gain at toneHz of x + (G - 1)(x - low(x)) with a one-pole low-pass at
// cornerHz: the part the one-pole does not pass is scaled by G.
double LiftedToneDb(double toneHz, double cornerHz, int rate, double gain)
{
    const double k = std::exp(-2.0 * std::numbers::pi * cornerHz / rate);
    const std::complex<double> z = std::polar(1.0, -2.0 * std::numbers::pi * toneHz / rate);
    const std::complex<double> low = (1.0 - k) / (1.0 - k * z);
    return 20.0 * std::log10(std::abs(1.0 + (gain - 1.0) * (1.0 - low)));
}

} // namespace

// A quiet air band gets (nearly) the whole lift of 4 dB times the amount on
// what lies above the corner; a tone far below it hardly moves.
TEST_P(DynamicAirAtRate, LiftsAQuietAirBandByFourDbTimesTheAmount)
{
    const int rate = GetParam();
    for (double amount : {0.5, 1.0})
    {
        const double gain = DbToGain(4.0 * amount);
        const AudioBuffer air = QuadraturePair(16000.0, rate, 1.0, 0.0002);
        const AudioBuffer lifted = ProcessedBy<DynamicAir>(air, {{"amount", amount}});
        EXPECT_NEAR(ToneGainDb(air, lifted, 16000.0, rate / 2),
                    LiftedToneDb(16000.0, 12000.0, rate, gain), 0.02)
            << "amount " << amount;
        EXPECT_GT(ToneGainDb(air, lifted, 16000.0, rate / 2), 0.5 * amount);

        const AudioBuffer bass = QuadraturePair(100.0, rate, 1.0, 0.0002);
        EXPECT_NEAR(
            ToneGainDb(bass, ProcessedBy<DynamicAir>(bass, {{"amount", amount}}), 100.0, rate / 2),
            0.0, 0.02);
    }
}

// Once the band's followed level reaches 0.12 the lift is gone, and every
// value passes exactly as it came.
TEST_P(DynamicAirAtRate, AnOpenAirBandIsLeftAsItIs)
{
    const int rate = GetParam();
    const AudioBuffer air = QuadraturePair(16000.0, rate, 1.0, 1.2);
    const AudioBuffer output = ProcessedBy<DynamicAir>(air, {{"amount", 1.0}});
    EXPECT_TRUE(
        std::equal(output.samples.begin() + rate, output.samples.end(), air.samples.begin() + rate))
        << "the second half must keep every bit";
    EXPECT_FALSE(output.samples == air.samples) << "the start, while the follower rises, is lifted";
}

INSTANTIATE_TEST_SUITE_P(Rates, DynamicAirAtRate, AddonTestRates(), RateTestName);
