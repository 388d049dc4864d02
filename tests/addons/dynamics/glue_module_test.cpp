#include "addons/dynamics/glue_module.h"

#include "engine/decibels.h"
#include "tests/support/addon_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>

// On a quadrature pair the power follower settles on the pair's mean square,
// so each value settles on tanh(G x D) / D mixed with x, with G the hard knee's
// gain at the RMS level plus the make-up.
TEST(GlueModule, SettlesOnTheDrivenStaticCurve)
{
    struct Case
    {
        double amount;
        double warmth;
        double mix;
        double rmsLevelDb;
    };
    const Case cases[] = {
        {1.0, 0.0, 1.0, -8.0},  {1.0, 0.0, 1.0, -26.0}, // over and under the threshold
        {1.0, 1.0, 1.0, -8.0},  {0.5, 0.35, 1.0, -6.0},
        {0.5, 0.35, 0.5, -6.0}, {0.2, 1.0, 0.8, -30.0},
    };
    const int rate = 48000;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << "amount " << c.amount << ", warmth " << c.warmth
                                          << ", mix " << c.mix << ", " << c.rmsLevelDb << " dB");
        const double a = c.amount;
        const double overDb = c.rmsLevelDb - (-12.0 - 8.0 * a);
        const double ratio = 1.25 + 1.5 * a;
        const double gainDb = overDb > 0.0 ? -(1.0 - 1.0 / ratio) * overDb : 0.0;
        const double gain = DbToGain(gainDb + 0.4 + 1.8 * a);
        const double drive = 1.0 + 2.5 * (0.4 + 0.6 * a) * c.warmth;
        const double wet = std::min(1.0, (0.45 + 0.55 * a) * c.mix);
        const AudioBuffer input =
            QuadraturePair(440.0, rate, 3.0, std::sqrt(2.0) * DbToGain(c.rmsLevelDb));
        const AudioBuffer output =
            ProcessedBy<GlueModule>(input, {{"amount", a}, {"warmth", c.warmth}, {"mix", c.mix}});
        ExpectValuesFrom(
            input, output, FramesIn(2.5, rate),
            [&](double x) { return std::tanh(gain * x * drive) / drive * wet + x * (1.0 - wet); },
            1e-6);
    }
}

// The power follower averages energy: with equal attack and release times it
// is a plain smoother, and on a signal that alternates between loud and silent
// it reads the level of the mean power, 3 dB under the loud part for an even
// duty cycle, where an amplitude follower would read 6 dB under.
TEST(GlueModule, FollowsThePowerNotTheAmplitude)
{
    const int rate = 48000;
    AudioBuffer input = StereoSquare(12000.0, rate, 3.0, 0.5);
    for (size_t frame = 0; frame < input.FrameCount(); ++frame)
    {
        if ((frame / 2) % 2 == 1) // two loud frames, two silent ones
        {
            input.samples[2 * frame] = input.samples[2 * frame + 1] = 0.0;
        }
    }
    const AudioBuffer output = ProcessedBy<GlueModule>(input, {{"amount", 1.0},
                                                               {"warmth", 0.0},
                                                               {"mix", 1.0},
                                                               {"attack_ms", 80.0},
                                                               {"release_ms", 80.0}});
    const double levelDb = GainToDb(0.5, 0.0) - 10.0 * std::log10(2.0);
    const double gain = DbToGain(-(1.0 - 1.0 / 2.75) * (levelDb + 20.0) + 2.2);
    ExpectValuesFrom(
        input, output, FramesIn(2.5, rate), [&](double x) { return std::tanh(gain * x); }, 1e-4);
}
