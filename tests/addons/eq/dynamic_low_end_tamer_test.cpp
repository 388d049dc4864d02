#include "addons/eq/dynamic_low_end_tamer.h"

#include "engine/decibels.h"
#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

namespace
{

class DynamicLowEndTamerAtRate : public ::testing::TestWithParam<int>
{
};

// A blooming 50 Hz tone under a 2 kHz tone, each a quadrature pair.
AudioBuffer BassUnderMids(int rate, double bassAmplitude)
{
    AudioBuffer mix = QuadraturePair(50.0, rate, 2.0, bassAmplitude);
    const AudioBuffer mids = QuadraturePair(2000.0, rate, 2.0, 0.2);
    for (size_t i = 0; i < mix.samples.size(); ++i)
    {
        mix.samples[i] += mids.samples[i];
    }
    return mix;
}

} // namespace

// A loud bass tone is cut, by no more than 5 dB times the amount; the tone
// above the crossover keeps its level within 0.3 dB.
TEST_P(DynamicLowEndTamerAtRate, CutsLoudBassByAtMostFiveDbTimesTheAmountAndSparesTheMids)
{
    const int rate = GetParam();
    for (double amount : {0.2, 0.6, 1.0})
    {
        for (double bass : {0.5, 1.5})
        {
            const AudioBuffer input = BassUnderMids(rate, bass);
            const AudioBuffer output = ProcessedBy<DynamicLowEndTamer>(input, {{"amount", amount}});
            const double bassDb = ToneGainDb(input, output, 50.0, rate);
            SCOPED_TRACE(::testing::Message()
                         << "amount " << amount << ", bass " << bass << ": " << bassDb << " dB");
            EXPECT_LT(bassDb, -0.5 * amount);
            EXPECT_GE(bassDb, -5.0 * amount);
            EXPECT_LT(std::fabs(ToneGainDb(input, output, 2000.0, rate)), 0.3);
        }
    }
}

// The one-pole passes a constant whole, so a loud offset takes the cut itself,
// which stops at 5 dB times the amount however loud it gets.
TEST_P(DynamicLowEndTamerAtRate, TheCutStopsAtFiveDbTimesTheAmount)
{
    const int rate = GetParam();
    for (double amount : {0.3, 1.0})
    {
        AudioBuffer input;
        input.sampleRate = rate;
        input.samples.assign(2 * static_cast<size_t>(rate), 2.0);
        const AudioBuffer output = ProcessedBy<DynamicLowEndTamer>(input, {{"amount", amount}});
        EXPECT_NEAR(output.samples.back() / 2.0, DbToGain(-5.0 * amount), 1e-9)
            << "amount " << amount;
    }
}

// A quiet bass tone stays under the threshold: the track keeps every bit.
TEST_P(DynamicLowEndTamerAtRate, QuietBassIsNotTouched)
{
    const AudioBuffer input = BassUnderMids(GetParam(), 0.05);
    EXPECT_TRUE(ProcessedBy<DynamicLowEndTamer>(input, {{"amount", 1.0}}).samples == input.samples);
}

INSTANTIATE_TEST_SUITE_P(Rates, DynamicLowEndTamerAtRate, AddonTestRates(), RateTestName);
