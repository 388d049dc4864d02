#include "addons/saturation/transformer_saturation.h"

#include "engine/decibels.h"
#include "tests/support/addon_run.h"
#include "tests/support/harmonic_level.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

#include <iostream>

// At bias 0 the tanh is odd: a 3rd harmonic, no 2nd, the same on both
// channels. A bias brings a 2nd.
TEST(TransformerSaturation, BiasBringsEvenHarmonics)
{
    const int rate = 48000;
    const AudioBuffer input = StereoSine(1000.0, rate, 1.0, 0.8);
    for (double bias : {0.0, 0.2, 1.0})
    {
        const AudioBuffer output =
            ProcessedBy<TransformerSaturation>(input, {{"amount", 1.0}, {"bias", bias}});
        for (size_t channel : {0, 1})
        {
            const double secondDb = HarmonicDb(output, 1000.0, 2, 0, channel);
            const double thirdDb = HarmonicDb(output, 1000.0, 3, 0, channel);
            std::cout << "[ harmonic ] bias " << bias << ", channel " << channel << ": 2nd "
                      << secondDb << " dB, 3rd " << thirdDb << " dB\n";
            EXPECT_GT(thirdDb, -40.0) << "bias " << bias;
            if (bias == 0.0)
            {
                EXPECT_LT(secondDb, -100.0) << "an odd curve must add no 2nd";
            }
            else
            {
                EXPECT_GT(secondDb, -50.0) << "bias " << bias << " must bring a 2nd";
            }
        }
        if (bias == 0.0)
        {
            for (size_t i = 0; i < output.samples.size(); i += 2)
            {
                ASSERT_EQ(output.samples[i], output.samples[i + 1]) << "frame " << i / 2;
            }
        }
    }
}

// The right channel's curve is the left's mirrored through the origin: -x on
// the right gives exactly minus what x gives on the left.
TEST(TransformerSaturation, TheRightChannelMirrorsTheLeft)
{
    const int rate = 48000;
    const std::vector<double> noise = Noise(20000, 1.2, 7);
    std::vector<double> negated = noise;
    for (double& value : negated)
    {
        value = -value;
    }
    for (double bias : {0.2, 0.7, 1.0})
    {
        const AudioBuffer output = ProcessedBy<TransformerSaturation>(
            InterleaveStereo(noise, negated, rate), {{"bias", bias}, {"drive_db", 10.0}});
        for (size_t i = 0; i < output.samples.size(); i += 2)
        {
            ASSERT_EQ(output.samples[i + 1], -output.samples[i])
                << "bias " << bias << ", frame " << i / 2;
        }
    }
}

// Not divided by the drive: at bias 0 small signals come out lifted by the
// drive itself, the full drive_db at amount 1 and mix 1.
TEST(TransformerSaturation, SmallSignalsAreLiftedByTheDrive)
{
    const int rate = 48000;
    const AudioBuffer quiet = StereoSine(1000.0, rate, 0.5, 1e-4);
    for (double driveDb : {0.0, 3.5, 10.0})
    {
        const AudioBuffer output = ProcessedBy<TransformerSaturation>(
            quiet, {{"amount", 1.0}, {"bias", 0.0}, {"drive_db", driveDb}});
        EXPECT_NEAR(ToneGainDb(quiet, output, 1000.0, 0), driveDb, 1e-6);
    }
}
