#include "addons/eq/low_end_punch.h"

#include "tests/support/addon_run.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

// The amount is the wet share alone: the bells do not change with it.
TEST(LowEndPunch, HalfAmountIsTheMeanOfDryAndFullyFiltered)
{
    const AudioBuffer input = StereoNoise(48000, 0.5, 0.8, 11);
    const AudioBuffer full = ProcessedBy<LowEndPunch>(input, {{"amount", 1.0}});
    const AudioBuffer half = ProcessedBy<LowEndPunch>(input, {{"amount", 0.5}});
    ASSERT_EQ(half.samples.size(), input.samples.size());
    for (size_t i = 0; i < input.samples.size(); ++i)
    {
        ASSERT_NEAR(half.samples[i], 0.5 * (input.samples[i] + full.samples[i]), 1e-12)
            << "value " << i;
    }
}

// A +9 dB bell at boost_hz, pulled down a little by the -6 dB counter-cut
// 140 Hz above it; the cut itself sits at min(300, boost_hz + 140) and the
// top is left alone.
TEST(LowEndPunch, LiftsTheBoostFrequencyAndCutsAboveIt)
{
    const int rate = 48000;
    const auto gainAt = [&](double boostHz, double toneHz)
    {
        const AudioBuffer input = StereoSine(toneHz, rate, 2.0, 0.25);
        return ToneGainDb(input,
                          ProcessedBy<LowEndPunch>(input, {{"amount", 1.0}, {"boost_hz", boostHz}}),
                          toneHz, rate);
    };
    for (double boostHz : {30.0, 60.0, 100.0})
    {
        const double boostDb = gainAt(boostHz, boostHz);
        EXPECT_GT(boostDb, 6.0) << boostHz << " Hz";
        EXPECT_LT(boostDb, 9.0) << boostHz << " Hz";
        EXPECT_LT(gainAt(boostHz, boostHz + 140.0), -2.0) << boostHz << " Hz";
        EXPECT_NEAR(gainAt(boostHz, 8000.0), 0.0, 0.1) << boostHz << " Hz";
    }
}
