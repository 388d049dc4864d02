#include "addons/dynamics/parallel_aggression.h"

#include "engine/decibels.h"
#include "tests/support/addon_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>

// At full level the follower settles at 0 dB, 24 dB over the threshold; 10:1
// takes 21.6 dB off and the make-up gives 18 dB back.
TEST(ParallelAggression, FullScaleSquareSettlesOnTheAddedLayer)
{
    const int rate = 48000;
    const AudioBuffer input = StereoSquare(100.0, rate, 1.0, 1.0);
    const AudioBuffer output =
        ProcessedBy<ParallelAggression>(input, {{"amount", 1.0}, {"drive", 0.0}});
    const double gain = std::pow(10.0, (-0.9 * 24.0 + 18.0) / 20.0);
    ExpectValuesFrom(
        input, output, FramesIn(0.5, rate),
        [&](double x) { return x + 0.25 * std::tanh(gain * x); }, 1e-9);
}

// Below the threshold the layer is the input with 18 dB of make-up and the
// drive, into tanh and back down by the drive.
TEST(ParallelAggression, QuietMaterialGetsTheFullMakeUp)
{
    const int rate = 48000;
    const AudioBuffer input = StereoSquare(100.0, rate, 0.5, DbToGain(-30.0));
    const double amount = 0.6;
    const double drive = 1.0 + 5.0 * 0.8;
    const AudioBuffer output =
        ProcessedBy<ParallelAggression>(input, {{"amount", amount}, {"drive", 0.8}});
    ExpectValuesFrom(
        input, output, 0,
        [&](double x) { return x + 0.25 * amount * std::tanh(DbToGain(18.0) * x * drive) / drive; },
        1e-12);
}

TEST(ParallelAggression, NeverAttenuatesTheDrySignal)
{
    const AudioBuffer input = SwellingNoise(44100, 3.0, 8);
    const AudioBuffer output =
        ProcessedBy<ParallelAggression>(input, {{"amount", 1.0}, {"drive", 1.0}});
    for (size_t i = 0; i < input.samples.size(); ++i)
    {
        const double x = input.samples[i];
        ASSERT_GE(x * (output.samples[i] - x), 0.0)
            << "value " << i << ": " << x << " became " << output.samples[i];
    }
}

// The follower is the add-on's own envelope, kept from one call to the next:
// after a loud buffer the same instance starts a quiet one with its gain still
// pulled down, where a fresh one starts with the full make-up.
TEST(ParallelAggression, KeepsItsEnvelopeFromOneCallToTheNext)
{
    const int rate = 48000;
    const AudioBuffer quiet = StereoSquare(100.0, rate, 0.001, DbToGain(-30.0));
    ParallelAggression used;
    ProcessedBy(used, StereoSquare(100.0, rate, 0.5, 1.0));
    const double afterLoud = ProcessedBy(used, quiet).samples[0] - quiet.samples[0];
    const double fresh = ProcessedBy<ParallelAggression>(quiet).samples[0] - quiet.samples[0];
    EXPECT_LT(afterLoud, 0.2 * fresh);
    EXPECT_GT(afterLoud, 0.0);
}
