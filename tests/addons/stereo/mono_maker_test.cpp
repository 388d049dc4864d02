#include "addons/stereo/mono_maker.h"

#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/mid_side_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

namespace
{

class MonoMakerAtRate : public ::testing::TestWithParam<int>
{
};

} // namespace

// At full amount the side keeps only what the crossover's one-pole lets
// through as its high band: a 30 Hz side under a 120 Hz crossover comes out
// about 12 dB down, while the mid stays as it was.
TEST_P(MonoMakerAtRate, LeavesTheLowSideAtItsHighPassResidual)
{
    const int rate = GetParam();
    const size_t frames = FramesIn(2.0, rate);
    const std::vector<double> mid = Sine(60.0, rate, frames, 0.4);
    const std::vector<double> side = Sine(30.0, rate, frames, 0.4);
    const AudioBuffer output = ProcessedBy<MonoMaker>(FromMidSide(mid, side, rate),
                                                      {{"amount", 1.0}, {"crossover_hz", 120.0}});
    EXPECT_NEAR(SteadyStateGainDb(side, SideOf(output), FramesIn(0.5, rate)), -12.3, 0.3);
    EXPECT_LT(LargestDifference(MidOf(output), mid), 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Rates, MonoMakerAtRate, AddonTestRates(), RateTestName);

// Half the amount takes half the low side away: the residual is then the side
// less half its low band, well above the full amount's.
TEST(MonoMaker, AmountScalesWhatIsTakenAway)
{
    const int rate = 48000;
    const size_t frames = FramesIn(2.0, rate);
    const std::vector<double> side = Sine(30.0, rate, frames, 0.4);
    const AudioBuffer input = FromMidSide(std::vector<double>(frames, 0.0), side, rate);
    const double fullDb = SteadyStateGainDb(
        side, SideOf(ProcessedBy<MonoMaker>(input, {{"amount", 1.0}})), FramesIn(0.5, rate));
    const double halfDb = SteadyStateGainDb(
        side, SideOf(ProcessedBy<MonoMaker>(input, {{"amount", 0.5}})), FramesIn(0.5, rate));
    EXPECT_GT(halfDb, fullDb + 3.0);
    EXPECT_LT(halfDb, -3.0);
}
