#include "addons/dynamics/standard_compressor.h"

#include "engine/decibels.h"
#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

class StandardCompressorAtRate : public ::testing::TestWithParam<int>
{
};

} // namespace

// A quadrature pair holds its stereo RMS level in every frame, so the gain
// settles on the static curve: the soft knee's value at the level over the
// threshold, plus the make-up, mixed with the dry signal.
TEST_P(StandardCompressorAtRate, SettlesOnTheStaticCurve)
{
    struct Case
    {
        double overDb;
        double ratio;
        double makeupDb;
        double mix;
        double expectedDb;
    };
    const Case cases[] = {
        {12.0, 4.0, 0.0, 1.0, -9.0},
        {12.0, 4.0, 6.0, 1.0, -3.0},
        {12.0, 1.0, 5.0, 1.0, 5.0},  // ratio 1: the make-up alone
        {3.0, 4.0, 0.0, 1.0, -2.25}, // the knee's upper edge: -(1 - 1/4) * 3
        {0.0, 4.0, 0.0, 1.0, -0.5625},
        {-6.0, 4.0, 2.0, 1.0, 2.0}, // below the knee: the make-up alone
        {12.0, 4.0, 0.0, 0.5, GainToDb(0.5 * DbToGain(-9.0) + 0.5, 0.0)},
    };
    const double thresholdDb = -18.0;
    const int rate = GetParam();
    for (const Case& c : cases)
    {
        const double rmsLevel = DbToGain(thresholdDb + c.overDb);
        const AudioBuffer input = QuadraturePair(997.0, rate, 2.0, std::sqrt(2.0) * rmsLevel);
        const AudioBuffer output =
            ProcessedBy<StandardCompressor>(input, {{"threshold_db", thresholdDb},
                                                    {"ratio", c.ratio},
                                                    {"makeup_db", c.makeupDb},
                                                    {"mix", c.mix}});
        EXPECT_NEAR(SteadyStateGainDb(input, output, FramesIn(1.0, rate)), c.expectedDb, 0.1)
            << c.overDb << " dB over at " << c.ratio << ":1, make-up " << c.makeupDb << " dB, mix "
            << c.mix;
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, StandardCompressorAtRate, AddonTestRates(), RateTestName);

TEST(StandardCompressor, FollowerStartsFromSilenceAndAttacksInItsTime)
{
    // A step 12 dB over the threshold at ratio 4: the first frame gets no
    // reduction, and after one attack time the follower has covered 1 - 1/e
    // of the way, so the reduction is well short of the full 9 dB.
    const int rate = 48000;
    const AudioBuffer input = StereoSquare(50.0, rate, 0.5, DbToGain(-6.0));
    const AudioBuffer output = ProcessedBy<StandardCompressor>(
        input, {{"threshold_db", -18.0}, {"ratio", 4.0}, {"attack_ms", 20.0}});
    EXPECT_EQ(output.samples[0], input.samples[0]);
    const size_t attackFrame = FramesIn(0.02, rate);
    const double followedDb = GainToDb((1.0 - std::exp(-1.0)) * DbToGain(-6.0), 0.0);
    const double expectedDb = -0.75 * (followedDb + 18.0);
    EXPECT_NEAR(GainToDb(output.samples[2 * attackFrame] / input.samples[2 * attackFrame], 0.0),
                expectedDb, 0.05);
}
