#include "addons/eq/three_band_eq.h"

#include "engine/decibels.h"
#include "tests/support/addon_run.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

#include <cmath>

// The three bands add up to the input, so equal gains scale every sample by
// the same factor, from the very first frame.
TEST(ThreeBandEq, EqualGainsScaleEverySample)
{
    const AudioBuffer input = StereoNoise(48000, 0.5, 0.8, 7);
    const AudioBuffer output = ProcessedBy<ThreeBandEq>(
        input, {{"low_gain_db", 6.0}, {"mid_gain_db", 6.0}, {"high_gain_db", 6.0}});
    const double gain = DbToGain(6.0);
    ExpectValuesFrom(
        input, output, 0, [&](double x) { return gain * x; }, 1e-12);
}

TEST(ThreeBandEq, EachGainMovesItsOwnBand)
{
    struct Case
    {
        const char* parameter;
        double toneHz;
        double lowestDb; // the gain at the tone, at +6 dB on that band
    };
    const Case cases[] = {{"low_gain_db", 40.0, 5.5}, {"high_gain_db", 15000.0, 5.0}};
    const int rate = 48000;
    for (const Case& c : cases)
    {
        const AudioBuffer input = StereoSine(c.toneHz, rate, 1.0, 0.5);
        const AudioBuffer output = ProcessedBy<ThreeBandEq>(input, {{c.parameter, 6.0}});
        EXPECT_GT(ToneGainDb(input, output, c.toneHz, rate / 2), c.lowestDb) << c.parameter;
        EXPECT_LE(ToneGainDb(input, output, c.toneHz, rate / 2), 6.0 + 1e-9) << c.parameter;
    }
    // The bass band hardly reaches the top, nor the treble band the bottom.
    const AudioBuffer high = StereoSine(15000.0, rate, 1.0, 0.5);
    EXPECT_NEAR(
        ToneGainDb(high, ProcessedBy<ThreeBandEq>(high, {{"low_gain_db", 6.0}}), 15000.0, rate / 2),
        0.0, 0.2);
    const AudioBuffer low = StereoSine(40.0, rate, 1.0, 0.5);
    EXPECT_NEAR(
        ToneGainDb(low, ProcessedBy<ThreeBandEq>(low, {{"high_gain_db", 6.0}}), 40.0, rate / 2),
        0.0, 0.2);
}

// Its rate falls back to 1 Hz, where every crossover lies far above Nyquist.
TEST(ThreeBandEq, WorksAtARateOfOneHertzOrLess)
{
    for (int rate : {1, 0, -48000})
    {
        AudioBuffer input = StereoNoise(48000, 0.1, 0.8, 3);
        input.sampleRate = rate;
        const AudioBuffer output = ProcessedBy<ThreeBandEq>(
            input, {{"low_gain_db", 12.0}, {"mid_gain_db", -12.0}, {"high_gain_db", 3.0}});
        EXPECT_TRUE(AllFinite(output)) << "rate " << rate;
        EXPECT_FALSE(output.samples == input.samples) << "rate " << rate;
    }
}
