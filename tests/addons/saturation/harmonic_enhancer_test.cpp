#include "addons/saturation/harmonic_enhancer.h"

#include "tests/support/addon_run.h"
#include "tests/support/harmonic_level.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

// Centred, the tanh is an odd curve: a 3rd harmonic and no 2nd. A colour
// either way moves the operating point off centre and brings a 2nd.
TEST(HarmonicEnhancer, ColourBringsEvenHarmonicsToTheOddOnes)
{
    struct Case
    {
        double color;
        bool even;
    };
    const Case cases[] = {{0.0, false}, {0.5, true}, {-0.5, true}, {1.0, true}};
    const int rate = 48000;
    const AudioBuffer input = StereoSine(1000.0, rate, 1.0, 0.8);
    for (const Case& c : cases)
    {
        const AudioBuffer output = ProcessedBy<HarmonicEnhancer>(
            input, {{"amount", 1.0}, {"drive_db", 12.0}, {"color", c.color}});
        const double secondDb = HarmonicDb(output, 1000.0, 2);
        const double thirdDb = HarmonicDb(output, 1000.0, 3);
        std::cout << "[ harmonic ] colour " << c.color << ": 2nd " << secondDb << " dB, 3rd "
                  << thirdDb << " dB\n";
        EXPECT_GT(thirdDb, -40.0) << "colour " << c.color << ": the curve must add a 3rd";
        if (c.even)
        {
            EXPECT_GT(secondDb, -50.0) << "colour " << c.color << " must bring a 2nd";
        }
        else
        {
            EXPECT_LT(secondDb, -100.0) << "an odd curve must add no 2nd";
        }
    }
}

// Divided by its drive, the centred curve passes small signals at their level
// whatever the drive; and silence stays 0 at any colour.
TEST(HarmonicEnhancer, SmallSignalsKeepTheirLevelAndSilenceStaysSilent)
{
    const int rate = 48000;
    const AudioBuffer quiet = StereoSine(1000.0, rate, 0.5, 1e-4);
    for (double driveDb : {0.0, 6.0, 12.0})
    {
        const AudioBuffer output = ProcessedBy<HarmonicEnhancer>(
            quiet, {{"amount", 1.0}, {"drive_db", driveDb}, {"color", 0.0}});
        EXPECT_NEAR(ToneGainDb(quiet, output, 1000.0, 0), 0.0, 1e-6) << driveDb << " dB drive";
    }
    AudioBuffer silence = quiet;
    std::fill(silence.samples.begin(), silence.samples.end(), 0.0);
    for (double color : {-1.0, 0.3, 1.0})
    {
        const AudioBuffer output =
            ProcessedBy<HarmonicEnhancer>(silence, {{"amount", 1.0}, {"color", color}});
        EXPECT_TRUE(output.samples == silence.samples) << "colour " << color;
    }
}
