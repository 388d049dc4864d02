#include "addons/prelimiter/phase_rotator.h"

#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace
{

constexpr double kSettleSeconds = 0.25;

// Third-octave centres from 20 Hz to 20 kHz, rounded to whole hertz so that a
// second of each holds whole cycles.
const std::vector<double> kThirdOctaves = {
    20,  25,   31,   40,   50,   63,   80,   100,  125,  160,  200,  250,   315,   400,   500,  630,
    800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000, 10000, 12500, 16000, 20000};

struct Response
{
    double gainDb;
    double lagDegrees; // 0 to 360
};

// A sine in both channels at full rotation, read after the sections have
// settled by correlating the left output with the sine and the cosine.
Response Measure(double hz, int rate, double focusHz)
{
    const size_t skip = FramesIn(kSettleSeconds, rate);
    const std::vector<double> sine = Sine(hz, rate, skip + FramesIn(1.0, rate), 0.5);
    const AudioBuffer input = InterleaveStereo(sine, sine, rate);
    const AudioBuffer output = ProcessedBy<PhaseRotator>(
        input, {{"amount", 1.0}, {"mix", 1.0}, {"frequency_hz", focusHz}});
    double inPhase = 0.0;
    double quadrature = 0.0;
    for (size_t i = skip; i < sine.size(); ++i)
    {
        const double angle = 2.0 * std::numbers::pi * hz * static_cast<double>(i) / rate;
        inPhase += output.samples[2 * i] * std::sin(angle);
        quadrature += output.samples[2 * i] * std::cos(angle);
    }
    const double lead = std::atan2(quadrature, inPhase) * 180.0 / std::numbers::pi;
    return {SteadyStateGainDb(input, output, skip), lead <= 0.0 ? -lead : 360.0 - lead};
}

class PhaseRotatorTest : public ::testing::TestWithParam<int>
{
};

} // namespace

// Two all-pass sections: every tone keeps its level, and its phase lags more
// the higher it is, up to a full turn at Nyquist.
TEST_P(PhaseRotatorTest, EveryToneKeepsItsLevelWhileItsPhaseTurns)
{
    const int rate = GetParam();
    double previousLag = 0.0;
    for (double hz : kThirdOctaves)
    {
        const Response response = Measure(hz, rate, 120.0);
        EXPECT_NEAR(response.gainDb, 0.0, 0.01) << hz << " Hz";
        EXPECT_GT(response.lagDegrees, previousLag) << hz << " Hz";
        previousLag = response.lagDegrees;
    }
    EXPECT_GT(previousLag, 180.0) << "both sections have turned past a half turn at 20 kHz";
}

// In the low register the phase turns fastest around the focus, and the turn
// moves up with it.
TEST_P(PhaseRotatorTest, PhaseTurnsFastestAroundTheFocus)
{
    const int rate = GetParam();
    if (rate > 48000)
    {
        GTEST_SKIP() << "the first section's coefficient limit holds its turn above 300 Hz here";
    }
    for (double focus : {200.0, 400.0})
    {
        SCOPED_TRACE(focus);
        double steepestTurn = 0.0;
        double steepestAt = 0.0;
        double previousLag = Measure(20.0, rate, focus).lagDegrees;
        for (double octaves = 1.0 / 6.0; octaves < std::log2(1000.0 / 20.0); octaves += 1.0 / 6.0)
        {
            const double hz = std::round(20.0 * std::exp2(octaves));
            const double lag = Measure(hz, rate, focus).lagDegrees;
            if (lag - previousLag > steepestTurn)
            {
                steepestTurn = lag - previousLag;
                steepestAt = hz * std::exp2(-1.0 / 12.0);
            }
            previousLag = lag;
        }
        EXPECT_LT(std::fabs(std::log2(steepestAt / focus)), 0.5)
            << "steepest turn at " << steepestAt << " Hz";
    }
}

// The rotated signal is blended with the entering one by amount times mix.
TEST_P(PhaseRotatorTest, HalfAmountIsTheMeanOfRotatedAndEntering)
{
    const int rate = GetParam();
    const AudioBuffer input = StereoNoise(rate, 0.5, 0.8, 3);
    const AudioBuffer rotated = ProcessedBy<PhaseRotator>(input, {{"amount", 1.0}, {"mix", 1.0}});
    const AudioBuffer half = ProcessedBy<PhaseRotator>(input, {{"amount", 0.5}, {"mix", 1.0}});
    const AudioBuffer halfByMix = ProcessedBy<PhaseRotator>(input, {{"amount", 1.0}, {"mix", 0.5}});
    ASSERT_EQ(half.samples.size(), input.samples.size());
    for (size_t i = 0; i < input.samples.size(); ++i)
    {
        const double mean = 0.5 * rotated.samples[i] + 0.5 * input.samples[i];
        ASSERT_NEAR(half.samples[i], mean, 1e-15) << "value " << i;
        ASSERT_EQ(halfByMix.samples[i], half.samples[i]) << "value " << i;
    }
}

// Left and right turn on their own: a signal in one channel leaves the other
// silent.
TEST_P(PhaseRotatorTest, ChannelsKeepTheirOwnStates)
{
    const int rate = GetParam();
    const std::vector<double> sine = Sine(300.0, rate, FramesIn(0.2, rate), 0.7);
    const AudioBuffer leftOnly =
        InterleaveStereo(sine, std::vector<double>(sine.size(), 0.0), rate);
    const AudioBuffer output = ProcessedBy<PhaseRotator>(leftOnly, {{"amount", 1.0}});
    for (size_t i = 1; i < output.samples.size(); i += 2)
    {
        ASSERT_EQ(output.samples[i], 0.0) << "frame " << i / 2;
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, PhaseRotatorTest, AddonTestRates(), RateTestName);
