#include "addons/dynamics/ms_dynamics_processor.h"

#include "engine/decibels.h"
#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/mid_side_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

namespace
{

class MsDynamicsProcessorAtRate : public ::testing::TestWithParam<int>
{
};

// Square waves in the mid and in the side: each signal's level is the same in
// every frame, so each follower settles on it.
AudioBuffer MidAndSideSquares(int rate, double midAmplitude, double sideAmplitude)
{
    return FromMidSide(MidOf(StereoSquare(100.0, rate, 2.0, midAmplitude)),
                       MidOf(StereoSquare(130.0, rate, 2.0, sideAmplitude)), rate);
}

} // namespace

// Mid and side each settle on their own static curve: 0.7 dB less gain per dB
// over the threshold at amount 1, scaled by the amount, mixed with the dry
// signal.
TEST_P(MsDynamicsProcessorAtRate, MidAndSideSettleOnTheirOwnCurves)
{
    struct Case
    {
        double midOverDb;
        double sideOverDb;
        double midAmount;
        double sideAmount;
        double mix;
        double midExpectedDb;
        double sideExpectedDb;
    };
    const Case cases[] = {
        {12.0, 12.0, 1.0, 0.0, 1.0, -8.4, 0.0}, // the centre only
        {12.0, 12.0, 0.0, 1.0, 1.0, 0.0, -8.4}, // the width only
        {12.0, 6.0, 0.5, 1.0, 1.0, -4.2, -4.2},
        {12.0, -3.0, 1.0, 1.0, 1.0, -8.4, 0.0}, // a side under the threshold
        {12.0, 12.0, 1.0, 1.0, 0.5, GainToDb(0.5 * DbToGain(-8.4) + 0.5, 0.0),
         GainToDb(0.5 * DbToGain(-8.4) + 0.5, 0.0)},
    };
    const double thresholdDb = -20.0;
    const int rate = GetParam();
    const size_t settled = FramesIn(1.0, rate);
    for (const Case& c : cases)
    {
        const AudioBuffer input = MidAndSideSquares(rate, DbToGain(thresholdDb + c.midOverDb),
                                                    DbToGain(thresholdDb + c.sideOverDb));
        const AudioBuffer output =
            ProcessedBy<MsDynamicsProcessor>(input, {{"threshold_db", thresholdDb},
                                                     {"mid_amount", c.midAmount},
                                                     {"side_amount", c.sideAmount},
                                                     {"mix", c.mix}});
        EXPECT_NEAR(SteadyStateGainDb(MidOf(input), MidOf(output), settled), c.midExpectedDb, 0.1)
            << "mid, case " << (&c - cases);
        EXPECT_NEAR(SteadyStateGainDb(SideOf(input), SideOf(output), settled), c.sideExpectedDb,
                    0.1)
            << "side, case " << (&c - cases);
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, MsDynamicsProcessorAtRate, AddonTestRates(), RateTestName);

// A mono signal has no side: its follower stays at 0 and its gain at 1, and the
// mid gain acts on both channels alike, so the output is still mono.
TEST(MsDynamicsProcessor, ALoudMonoInputStaysMono)
{
    const std::vector<double> mono = PinkNoise(FramesIn(2.0, 48000), 0.3, 11);
    const AudioBuffer input = InterleaveStereo(mono, mono, 48000);
    const AudioBuffer output =
        ProcessedBy<MsDynamicsProcessor>(input, {{"mid_amount", 1.0}, {"side_amount", 1.0}});
    for (size_t i = 0; i < output.samples.size(); i += 2)
    {
        ASSERT_EQ(output.samples[i], output.samples[i + 1]) << "frame " << i / 2;
    }
    EXPECT_LT(SteadyStateGainDb(input, output, FramesIn(0.5, 48000)), -3.0);
}
