#include "addons/saturation/sonic_maximizer.h"

#include "addons/saturation/maximizer_core.h"
#include "engine/decibels.h"
#include "engine/stages/limiter_input.h"
#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <vector>

namespace
{

const AddonSetting kFull = {
    {"amount", 1.0}, {"lo_contour", 10.0}, {"process", 10.0}, {"reduce_fatigue", 0.0}};

// Equal tones at 40 Hz, 1 kHz and 12 kHz in both channels.
AudioBuffer ThreeTones(int rate)
{
    const size_t frames = FramesIn(2.0, rate);
    std::vector<double> mix(frames, 0.0);
    for (double frequencyHz : {40.0, 1000.0, 12000.0})
    {
        const std::vector<double> tone = Sine(frequencyHz, rate, frames, 0.25);
        for (size_t i = 0; i < frames; ++i)
        {
            mix[i] += tone[i];
        }
    }
    return InterleaveStereo(mix, mix, rate);
}

class SonicMaximizerAtRate : public ::testing::TestWithParam<int>
{
};

} // namespace

// The smile: against the 1 kHz tone, the 40 Hz and 12 kHz tones come out
// louder, at the defaults and at full settings.
TEST_P(SonicMaximizerAtRate, LiftsTheOuterTonesAgainstTheMiddle)
{
    const int rate = GetParam();
    const AudioBuffer input = ThreeTones(rate);
    struct Case
    {
        const char* name;
        AddonSetting setting;
        double smileDb; // the least rise of each outer tone against 1 kHz
    };
    const Case cases[] = {{"defaults", {}, 0.4}, {"full, fatigue off", kFull, 2.0}};
    for (const auto& [name, setting, smileDb] : cases)
    {
        const AudioBuffer output = ProcessedBy<SonicMaximizerAddon>(input, setting);
        const size_t from = FramesIn(1.0, rate);
        const double lowDb = ToneGainDb(input, output, 40.0, from);
        const double midDb = ToneGainDb(input, output, 1000.0, from);
        const double highDb = ToneGainDb(input, output, 12000.0, from);
        std::cout << "[ smile    ] " << name << " at " << rate << " Hz: 40 Hz " << lowDb
                  << " dB, 1 kHz " << midDb << " dB, 12 kHz " << highDb << " dB\n";
        EXPECT_GT(lowDb - midDb, smileDb) << name << ": the lows must rise against 1 kHz";
        EXPECT_GT(highDb - midDb, smileDb) << name << ": the highs must rise against 1 kHz";
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, SonicMaximizerAtRate, AddonTestRates(), RateTestName);

// The output's peak never ends above the input's, whatever lifts it.
TEST(SonicMaximizer, NeverRaisesThePeak)
{
    const int rate = 48000;
    AudioBuffer loud = StereoSquare(50.0, rate, 1.0, 2.0);
    const AudioBuffer signals[] = {StereoSine(60.0, rate, 1.0, 0.9),
                                   StereoSine(12000.0, rate, 1.0, 1.0), ThreeTones(rate),
                                   StereoPinkNoise(rate, 1.0, 0.2, 5), loud};
    const AddonSetting settings[] = {
        {},
        kFull,
        {{"amount", 1.0}, {"lo_contour", 10.0}, {"process", 0.0}},
        {{"amount", 1.0}, {"lo_contour", 0.0}, {"process", 10.0}, {"reduce_fatigue", 0.0}},
        {{"amount", 0.3}, {"lo_contour", 2.0}, {"process", 7.0}},
    };
    for (size_t s = 0; s < std::size(signals); ++s)
    {
        for (size_t k = 0; k < std::size(settings); ++k)
        {
            const double inPeak = LargestMagnitude(signals[s].samples);
            const AudioBuffer output = ProcessedBy<SonicMaximizerAddon>(signals[s], settings[k]);
            EXPECT_LE(LargestMagnitude(output.samples), inPeak)
                << "signal " << s << ", setting " << k;
            EXPECT_FALSE(output.samples == signals[s].samples)
                << "signal " << s << ", setting " << k << " must be processed";
        }
    }
}

// The trim makes down 70 % of the larger quiet lift: at full settings with
// fatigue off the lows' 5.5 dB, so 10^(-0.7 * 5.5 / 20); reduce fatigue
// changes it. Read where the output stays under the input's peak, so the
// peak rule is not what sets the level.
TEST(SonicMaximizer, TrimsBySeventyPercentOfTheLargerLift)
{
    struct Case
    {
        AddonSetting setting;
        bool reduceFatigue;
        double contour;
        double process;
        double trimDb;
    };
    const Case cases[] = {
        {kFull, false, 10.0, 10.0, -0.7 * 5.5},
        {{{"amount", 1.0}, {"lo_contour", 10.0}, {"process", 10.0}}, true, 10.0, 10.0, -0.7 * 4.4},
        {{{"amount", 0.5}, {"lo_contour", 0.0}, {"process", 10.0}},
         true,
         0.0,
         5.0,
         -0.7 * 0.45 * 5.0 * 0.65},
    };
    const int rate = 48000;
    const AudioBuffer input = StereoSine(1000.0, rate, 0.5, 0.5);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << "trim " << c.trimDb << " dB");
        MaximizerCore core;
        core.channelStates.resize(2);
        core.sampleRate = rate;
        core.reduceFatigue = c.reduceFatigue;
        core.prepare();
        core.contourAmount = c.contour;
        core.processAmount = c.process;
        core.trim = DbToGain(c.trimDb);
        std::vector<double> expected = input.samples;
        core.processBuffer(expected);
        ASSERT_LT(LargestMagnitude(expected), 0.5) << "the peak rule would hide the trim";

        const AudioBuffer output = ProcessedBy<SonicMaximizerAddon>(input, c.setting);
        ASSERT_EQ(output.samples.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i)
        {
            ASSERT_NEAR(output.samples[i], expected[i], 1e-12) << "value " << i;
        }
    }
}

// Under 1e-12 at its peak a track counts as silence and keeps every value;
// just above it the bands work.
TEST(SonicMaximizer, LeavesATrackAtOrUnderTheSilencePeakAlone)
{
    for (double peak : {1e-12, 1e-13, 0.0})
    {
        const AudioBuffer input = StereoSine(1000.0, 48000, 0.1, peak);
        EXPECT_TRUE(ProcessedBy<SonicMaximizerAddon>(input, kFull).samples == input.samples)
            << peak;
    }
    const AudioBuffer faint = StereoSine(60.0, 48000, 0.1, 1e-11);
    EXPECT_FALSE(ProcessedBy<SonicMaximizerAddon>(faint, kFull).samples == faint.samples);
}
