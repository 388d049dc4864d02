#pragma once

// The check the add-ons that cut one band share: a loud steady tone at the
// band's centre drives the cut to its floor, G = -maxCutDb times the amount,
// and never further. The band output is added unscaled, 1/k at the centre, so
// the tone's gain there is 1 + (G - 1)/k. Two octaves down the band has nearly
// faded, and a tone there moves by less than 0.6 dB.

#include "engine/decibels.h"
#include "tests/support/addon_run.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>

template <class Addon>
void ExpectALoudCentreToneCutToTheFloor(int rate, double centreHz, double damping, double maxCutDb)
{
    for (double amount : {0.4, 1.0})
    {
        for (double amplitude : {0.7, 2.0})
        {
            const AudioBuffer input = StereoSine(centreHz, rate, 1.0, amplitude);
            const AudioBuffer output = ProcessedBy<Addon>(input, {{"amount", amount}});
            const double g = DbToGain(-maxCutDb * amount);
            EXPECT_NEAR(ToneGainDb(input, output, centreHz, rate / 2),
                        GainToDb(std::fabs(1.0 + (g - 1.0) / damping), 0.0), 0.02)
                << "amount " << amount << ", amplitude " << amplitude;
        }
    }
    AudioBuffer both = StereoSine(centreHz, rate, 1.0, 1.0);
    const AudioBuffer low = StereoSine(centreHz / 4.0, rate, 1.0, 0.3);
    for (std::size_t i = 0; i < both.samples.size(); ++i)
    {
        both.samples[i] += low.samples[i];
    }
    const AudioBuffer output = ProcessedBy<Addon>(both, {{"amount", 1.0}});
    EXPECT_GT(ToneGainDb(both, output, centreHz / 4.0, rate / 2), -0.6);
}
