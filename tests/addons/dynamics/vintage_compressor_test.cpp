#include "addons/dynamics/vintage_compressor.h"

#include "addons/kit/knee_laws.h"
#include "engine/decibels.h"
#include "tests/support/addon_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

// A square wave holds its peak level in every frame: the gain settles on the
// soft knee at the macro's threshold and ratio, plus its make-up, mixed at its
// wet share.
TEST(VintageCompressor, SettlesOnTheMacroStaticCurve)
{
    struct Case
    {
        double peakLevelDb;
        double amount;
        double mix;
    };
    const Case cases[] = {{-6.0, 1.0, 1.0}, {-30.0, 1.0, 1.0}, {-6.0, 0.5, 1.0},
                          {-6.0, 0.5, 0.4}, {-12.0, 0.1, 1.0}, {-23.0, 1.0, 1.0}};
    const int rate = 48000;
    for (const Case& c : cases)
    {
        const double a = c.amount;
        const double gainDb =
            SoftKneeGainDb(c.peakLevelDb - (-10.0 - 14.0 * a), 1.5 + 3.0 * a) + 0.5 + 2.0 * a;
        const double wet = std::min(1.0, (0.35 + 0.65 * a) * c.mix);
        const double expectedDb = GainToDb(wet * DbToGain(gainDb) + 1.0 - wet, 0.0);
        const AudioBuffer input = StereoSquare(100.0, rate, 2.0, DbToGain(c.peakLevelDb));
        const AudioBuffer output =
            ProcessedBy<VintageCompressor>(input, {{"amount", a}, {"mix", c.mix}});
        EXPECT_NEAR(SteadyStateGainDb(input, output, FramesIn(1.0, rate)), expectedDb, 0.02)
            << c.peakLevelDb << " dB at amount " << a << ", mix " << c.mix;
    }
}

// The follower reads the peak level: a quadrature pair of amplitude A, whose
// RMS level is 3 dB lower, is compressed as a peak level between A / sqrt(2)
// and A, not as its RMS level.
TEST(VintageCompressor, FollowsThePeakLevel)
{
    const int rate = 48000;
    const double amplitude = DbToGain(-6.0);
    const AudioBuffer input = QuadraturePair(50.0, rate, 2.0, amplitude);
    const AudioBuffer output = ProcessedBy<VintageCompressor>(input, {{"amount", 1.0}});
    const double atRmsLevelDb = SoftKneeGainDb(-9.0103 + 24.0, 4.5) + 2.5;
    const double atPeakDb = SoftKneeGainDb(-6.0 + 24.0, 4.5) + 2.5;
    const double measured = SteadyStateGainDb(input, output, FramesIn(1.0, rate));
    EXPECT_LT(measured, atRmsLevelDb - 1.0);
    EXPECT_GT(measured, atPeakDb - 0.5);
}
