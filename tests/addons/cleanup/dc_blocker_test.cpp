#include "addons/cleanup/dc_blocker.h"

#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <numbers>
#include <vector>

namespace
{

class DCBlockerAtRate : public ::testing::TestWithParam<int>
{
};

AudioBuffer Constant(double value, int rate, double seconds)
{
    AudioBuffer buffer;
    buffer.sampleRate = rate;
    buffer.samples.assign(2 * FramesIn(seconds, rate), value);
    return buffer;
}

} // namespace

// A step of DC dies away as exp(-t / tau) with tau = 1 / (2 pi fc): at the
// default 10 Hz it has fallen to 1/e after about 16 ms and is gone after a
// second.
TEST_P(DCBlockerAtRate, OffsetDecaysWithThePolesTimeConstant)
{
    const int rate = GetParam();
    for (double cutoff : {10.0, 2.0, 40.0})
    {
        const AudioBuffer output =
            ProcessedBy<DCBlocker>(Constant(0.5, rate, 3.0), {{"cutoff_hz", cutoff}});
        const double tau = 1.0 / (2.0 * std::numbers::pi * cutoff);
        const std::size_t atTau = FramesIn(tau, rate);
        EXPECT_NEAR(output.samples[2 * atTau], 0.5 / std::numbers::e, 0.005) << cutoff << " Hz";
        EXPECT_NEAR(output.samples[2 * atTau + 1], 0.5 / std::numbers::e, 0.005);
        EXPECT_LT(std::fabs(output.samples[2 * FramesIn(20.0 * tau, rate)]), 1e-6);
    }
}

// At amount 0.5 the blend keeps half the entering offset once the filtered
// half has decayed.
TEST_P(DCBlockerAtRate, HalfTheAmountSettlesAtHalfTheOffset)
{
    const int rate = GetParam();
    const AudioBuffer output = ProcessedBy<DCBlocker>(Constant(0.5, rate, 1.0), {{"amount", 0.5}});
    ExpectValuesFrom(
        output, output, FramesIn(0.5, rate), [](double) { return 0.25; }, 1e-9);
}

// Above a few times the corner the response is flat: music passes untouched.
TEST_P(DCBlockerAtRate, PassesTheAudioBand)
{
    const int rate = GetParam();
    const AudioBuffer input = StereoSine(200.0, rate, 1.0, 0.5);
    const AudioBuffer output = ProcessedBy<DCBlocker>(input);
    EXPECT_NEAR(SteadyStateGainDb(input, output, FramesIn(0.2, rate)), 0.0, 0.02);
}

INSTANTIATE_TEST_SUITE_P(Rates, DCBlockerAtRate, AddonTestRates(), RateTestName);
