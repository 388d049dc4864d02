#include "addons/saturation/tube_saturation.h"

#include "engine/stages/limiter_input.h"
#include "tests/support/addon_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

// The right channel's curve (bias -b) is the left's mirrored through the
// origin, and at bias 0 the curve is odd; the tanh part is 0 at 0, the cubic
// part keeps the bias.
TEST(TubeShape, MirrorsWithTheBiasAndKeepsTheCubicsOffset)
{
    for (double drive : {1.0, 2.0, 4.0})
    {
        for (double bias : {0.0, 0.05, 0.22})
        {
            for (double x : {0.0, 0.1, 0.5, 1.0, 2.0})
            {
                EXPECT_EQ(TubeShape(-x, drive, -bias), -TubeShape(x, drive, bias))
                    << x << " at drive " << drive << ", bias " << bias;
            }
            EXPECT_DOUBLE_EQ(TubeShape(0.0, drive, bias),
                             0.28 * (bias - bias * bias * bias / 3.0) / 1.5);
        }
    }
    EXPECT_DOUBLE_EQ(TubeShape(10.0, 1.0, 0.0), 0.28 * -1.0 + 0.72 * std::tanh(10.0))
        << "the cubic is clipped at -1.5";
}

// Whatever the drive and the signal, the peak never ends above the input's.
TEST(TubeSaturation, NeverRaisesThePeak)
{
    const int rate = 48000;
    const AudioBuffer signals[] = {
        StereoSine(100.0, rate, 0.5, 0.2), StereoSine(1000.0, rate, 0.5, 1.0),
        StereoSquare(50.0, rate, 0.5, 2.0), StereoPinkNoise(rate, 0.5, 0.3, 4),
        StereoSine(60, rate, 0.5, 1e-6)};
    for (const AudioBuffer& input : signals)
    {
        const double inPeak = LargestMagnitude(input.samples);
        for (double driveDb : {0.0, 4.0, 12.0})
        {
            for (double bias : {0.0, 0.18, 1.0})
            {
                const AudioBuffer output = ProcessedBy<TubeSaturation>(
                    input, {{"amount", 1.0}, {"drive_db", driveDb}, {"bias", bias}});
                EXPECT_LE(LargestMagnitude(output.samples), inPeak)
                    << "peak " << inPeak << ", drive " << driveDb << " dB, bias " << bias;
            }
        }
    }
}

// With no peak to keep, silence comes out as the cubic's offset at the bias:
// 0.28 (b - b^3 / 3) / 1.5 times the mix on the left, its negative on the
// right, b = (0.16 a + 0.06) times the bias.
TEST(TubeSaturation, SilenceWithABiasComesOutAsTheCubicsOffset)
{
    struct Case
    {
        double amount;
        double bias;
        double mix;
    };
    const Case cases[] = {{0.45, 0.18, 1.0}, {1.0, 1.0, 1.0}, {1.0, 1.0, 0.5}, {0.3, 0.0, 1.0}};
    AudioBuffer silence;
    silence.sampleRate = 48000;
    silence.samples.assign(200, 0.0);
    for (const Case& c : cases)
    {
        const double b = (0.16 * c.amount + 0.06) * c.bias;
        const double offset = 0.28 * (b - b * b * b / 3.0) / 1.5 * c.mix;
        const AudioBuffer output = ProcessedBy<TubeSaturation>(
            silence, {{"amount", c.amount}, {"bias", c.bias}, {"mix", c.mix}});
        for (size_t i = 0; i < output.samples.size(); i += 2)
        {
            ASSERT_NEAR(output.samples[i], offset, 1e-15) << "bias " << c.bias;
            ASSERT_NEAR(output.samples[i + 1], -offset, 1e-15) << "bias " << c.bias;
        }
    }
}
