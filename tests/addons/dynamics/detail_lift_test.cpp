#include "addons/dynamics/detail_lift.h"

#include "addons/kit/time_coefficient.h"
#include "engine/decibels.h"
#include "tests/addons/dynamics/level_step_fixture.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{

DetailLift LiftAt48k(FrameLevel level, double thresholdDb, double mix)
{
    return {.level = level,
            .attack = TimeCoefficient(5.0, 48000.0),
            .release = TimeCoefficient(150.0, 48000.0),
            .thresholdDb = thresholdDb,
            .liftPerDb = 0.5,
            .capDb = 6.0,
            .mix = mix};
}

} // namespace

// A quadrature pair's RMS level is the same in every frame while its peak
// level swings between it and 3 dB above it: the RMS lifter settles exactly
// on its curve, the peak lifter reads the signal about 3 dB louder.
TEST(DetailLift, ReadsTheFramesRmsOrPeakLevelAndMixesTheLift)
{
    const double rmsDb = -30.0;
    const AudioBuffer input = QuadraturePair(440.0, 48000, 2.0, std::sqrt(2.0) * DbToGain(rmsDb));
    struct Case
    {
        FrameLevel level;
        double mix;
        double expectedDb;
        double tolerance;
    };
    const Case cases[] = {
        {FrameLevel::Rms, 1.0, 5.0, 0.01}, // 10 dB under, half a dB per dB
        {FrameLevel::Rms, 0.5, GainToDb(0.5 * DbToGain(5.0) + 0.5, 0.0), 0.01},
        {FrameLevel::Peak, 1.0, 3.5, 0.3}, // about 7 dB under
    };
    for (const Case& c : cases)
    {
        AudioBuffer output = input;
        LiftDetail(output.samples, LiftAt48k(c.level, rmsDb + 10.0, c.mix));
        EXPECT_NEAR(SteadyStateGainDb(input, output, FramesIn(1.0, 48000)), c.expectedDb,
                    c.tolerance)
            << (c.level == FrameLevel::Rms ? "RMS" : "peak") << ", mix " << c.mix;
    }
}

// The follower starts at 0, so the opening of a loud track reads as silence
// and gets the full cap until the follower has risen; digital silence gets
// the cap too and stays silent.
TEST(DetailLift, TheOpeningGetsTheFullCapAndSilenceStaysSilent)
{
    const AudioBuffer loud = LevelStep(48000, -6.0, -6.0);
    AudioBuffer output = loud;
    LiftDetail(output.samples, LiftAt48k(FrameLevel::Peak, -14.0, 1.0));
    EXPECT_DOUBLE_EQ(output.samples[0], loud.samples[0] * DbToGain(6.0));
    EXPECT_NEAR(SettledGainDb(loud, output), 0.0, 1e-6);

    std::vector<double> silence(9600, 0.0);
    LiftDetail(silence, LiftAt48k(FrameLevel::Rms, -14.0, 1.0));
    EXPECT_TRUE(std::all_of(silence.begin(), silence.end(), [](double v) { return v == 0.0; }));
}
