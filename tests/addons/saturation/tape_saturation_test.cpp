#include "addons/saturation/tape_saturation.h"

#include "tests/support/addon_run.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace
{

// The one-pole low-pass's gain in dB at frequencyHz for a corner cornerHz.
double OnePoleGainDb(double cornerHz, double frequencyHz, int rate)
{
    const double c = std::exp(-2.0 * std::numbers::pi * cornerHz / rate);
    const std::complex<double> z1 = std::polar(1.0, -2.0 * std::numbers::pi * frequencyHz / rate);
    return 20.0 * std::log10((1.0 - c) / std::abs(1.0 - c * z1));
}

} // namespace

// Small signals see the tanh as a straight line, so what is left is the tone
// low-pass: its corner is 12 kHz at tone 0, 7 and 18 kHz at the ends, and
// never above 0.475 fs (15.2 kHz at 32 kHz).
TEST(TapeSaturation, LowPassesAtTheTonesCorner)
{
    struct Case
    {
        int rate;
        double tone;
        double cornerHz;
    };
    const Case cases[] = {
        {48000, 0.0, 12000.0}, {48000, -1.0, 7000.0}, {48000, 1.0, 18000.0},
        {44100, 0.5, 15000.0}, {32000, 1.0, 15200.0}, {96000, 1.0, 18000.0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << "tone " << c.tone << " at " << c.rate << " Hz");
        const AddonSetting setting = {
            {"amount", 1.0}, {"drive_db", 6.0}, {"mix", 1.0}, {"tone", c.tone}};
        const double probeHz = 10000.0; // under every rate's Nyquist frequency
        const AudioBuffer high = StereoSine(probeHz, c.rate, 0.5, 1e-4);
        const AudioBuffer low = StereoSine(100.0, c.rate, 0.5, 1e-4);
        const size_t from = FramesIn(0.1, c.rate);
        const double relativeDb =
            ToneGainDb(high, ProcessedBy<TapeSaturation>(high, setting), probeHz, from) -
            ToneGainDb(low, ProcessedBy<TapeSaturation>(low, setting), 100.0, from);
        EXPECT_NEAR(relativeDb,
                    OnePoleGainDb(c.cornerHz, probeHz, c.rate) -
                        OnePoleGainDb(c.cornerHz, 100.0, c.rate),
                    0.01);
    }
}

// Full scale driven into tanh is normalised back to full scale: a held value
// of 1 settles at 1 at any drive.
TEST(TapeSaturation, FullScaleComesBackAtFullScale)
{
    std::vector<double> held(4800, 1.0);
    const AudioBuffer input = InterleaveStereo(held, held, 48000);
    for (double driveDb : {0.0, 3.0, 12.0})
    {
        const AudioBuffer output =
            ProcessedBy<TapeSaturation>(input, {{"amount", 1.0}, {"drive_db", driveDb}});
        EXPECT_NEAR(output.samples.back(), 1.0, 1e-12) << driveDb << " dB drive";
    }
}

// The tape is its three steps over whole lists: tanh, the tone low-pass of
// each channel from rest, the normalised mix.
TEST(TapeSaturation, IsTheDrivenListsLowPassedAndMixed)
{
    const int rate = 44100;
    const AudioBuffer input = StereoNoise(rate, 0.2, 1.5, 11);
    const double a = 0.7;
    const double drive = std::pow(10.0, (0.6 * a + 0.4) * 9.0 / 20.0);
    const double wet = (0.65 * a + 0.35) * 0.8;
    std::vector<double> left;
    std::vector<double> right;
    for (size_t i = 0; i < input.samples.size(); i += 2)
    {
        left.push_back(std::tanh(drive * input.samples[i]));
        right.push_back(std::tanh(drive * input.samples[i + 1]));
    }
    const double corner = 12000.0 - 5000.0 * 0.4;
    const std::vector<double> lowLeft = OnePoleLowpassVector(left, corner, rate);
    const std::vector<double> lowRight = OnePoleLowpassVector(right, corner, rate);
    const AudioBuffer output = ProcessedBy<TapeSaturation>(
        input, {{"amount", a}, {"drive_db", 9.0}, {"tone", -0.4}, {"mix", 0.8}});
    const double r = 1.0 / std::tanh(drive);
    for (size_t i = 0; i < left.size(); ++i)
    {
        ASSERT_NEAR(output.samples[2 * i], r * lowLeft[i] * wet + (1 - wet) * input.samples[2 * i],
                    1e-14)
            << "frame " << i;
        ASSERT_NEAR(output.samples[2 * i + 1],
                    r * lowRight[i] * wet + (1 - wet) * input.samples[2 * i + 1], 1e-14)
            << "frame " << i;
    }
}

TEST(OnePoleLowpassVector, HoldsItsCornerAndGivesZerosWithoutARate)
{
    const std::vector<double> noise = Noise(4000, 1.0, 9);
    EXPECT_EQ(OnePoleLowpassVector(noise, 0.0, 0), std::vector<double>(noise.size(), 0.0));
    EXPECT_EQ(OnePoleLowpassVector(noise, 1000.0, -48000), std::vector<double>(noise.size(), 0.0));
    EXPECT_TRUE(OnePoleLowpassVector({}, 1000.0, 48000).empty());
    EXPECT_EQ(OnePoleLowpassVector(noise, 10.0, 48000), OnePoleLowpassVector(noise, 200.0, 48000))
        << "the corner never falls below 200 Hz";
    EXPECT_EQ(OnePoleLowpassVector(noise, 30000.0, 48000),
              OnePoleLowpassVector(noise, 0.475 * 48000, 48000))
        << "nor rises above 0.475 fs";

    // From rest: the first value is (1 - c) x.
    const double c = std::exp(-2.0 * std::numbers::pi * 1000.0 / 48000.0);
    EXPECT_NEAR(OnePoleLowpassVector({0.5, 0.0}, 1000.0, 48000)[0], (1.0 - c) * 0.5, 1e-15);
    EXPECT_NEAR(OnePoleLowpassVector({0.5, 0.0}, 1000.0, 48000)[1], c * (1.0 - c) * 0.5, 1e-15);
}
