#include "engine/dsp/one_pole_low_pass.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

namespace
{

const double kPi = std::acos(-1.0);

std::vector<double> Sine(double frequencyHz, double sampleRateHz, size_t count)
{
    std::vector<double> signal(count);
    for (size_t i = 0; i < count; ++i)
    {
        signal[i] = std::sin(2.0 * kPi * frequencyHz * static_cast<double>(i) / sampleRateHz);
    }
    return signal;
}

// Level of the filter's steady state against its input, over the second of two
// seconds (whole cycles of an integer frequency), in dB.
double SteadyGainDb(double frequencyHz, double cutoffHz, double sampleRateHz)
{
    const size_t second = static_cast<size_t>(sampleRateHz);
    const std::vector<double> input = Sine(frequencyHz, sampleRateHz, 2 * second);
    const std::vector<double> low =
        OnePoleLowPass(input, OnePoleCoefficient(cutoffHz, sampleRateHz));
    double inputEnergy = 0.0;
    double outputEnergy = 0.0;
    for (size_t i = second; i < 2 * second; ++i)
    {
        inputEnergy += input[i] * input[i];
        outputEnergy += low[i] * low[i];
    }
    return 10.0 * std::log10(outputEnergy / inputEnergy);
}

// |H| of y = (1 - k) x + k y at angular frequency w: (1 - k) / |1 - k e^-jw|.
double AnalyticGainDb(double frequencyHz, double cutoffHz, double sampleRateHz)
{
    const double k = OnePoleCoefficient(cutoffHz, sampleRateHz);
    const double w = 2.0 * kPi * frequencyHz / sampleRateHz;
    const double magnitude = (1.0 - k) / std::sqrt(1.0 - 2.0 * k * std::cos(w) + k * k);
    return 20.0 * std::log10(magnitude);
}

struct CornerCase
{
    double cutoffHz;
    double sampleRateHz;
};

void PrintTo(const CornerCase& corner, std::ostream* out)
{
    *out << corner.cutoffHz << " Hz at " << corner.sampleRateHz << " Hz";
}

class OnePoleCorner : public ::testing::TestWithParam<CornerCase>
{
};

} // namespace

TEST_P(OnePoleCorner, IsThreeDbDownAtItsCutoff)
{
    const auto [cutoffHz, sampleRateHz] = GetParam();
    EXPECT_NEAR(SteadyGainDb(cutoffHz, cutoffHz, sampleRateHz), -3.01, 0.05)
        << "a corner well below Nyquist must sit at -3 dB";
}

TEST_P(OnePoleCorner, FollowsTheAnalyticResponseAcrossTheBand)
{
    const auto [cutoffHz, sampleRateHz] = GetParam();
    for (double frequencyHz : {cutoffHz / 10.0, cutoffHz * 4.0, cutoffHz * 20.0})
    {
        EXPECT_NEAR(SteadyGainDb(frequencyHz, cutoffHz, sampleRateHz),
                    AnalyticGainDb(frequencyHz, cutoffHz, sampleRateHz), 0.02)
            << frequencyHz << " Hz through a " << cutoffHz << " Hz one-pole";
    }
}

INSTANTIATE_TEST_SUITE_P(Corners, OnePoleCorner,
                         ::testing::Values(CornerCase{100.0, 48000.0}, CornerCase{1000.0, 48000.0},
                                           CornerCase{200.0, 44100.0}, CornerCase{900.0, 96000.0}),
                         [](const ::testing::TestParamInfo<CornerCase>& info)
                         {
                             return std::to_string(static_cast<int>(info.param.cutoffHz)) + "HzAt" +
                                    std::to_string(static_cast<int>(info.param.sampleRateHz));
                         });

TEST(OnePoleLowPass, StartsFromRestAndSettlesOnDirectCurrent)
{
    const double k = OnePoleCoefficient(50.0, 48000.0);
    const std::vector<double> low = OnePoleLowPass(std::vector<double>(48000, 0.5), k);
    EXPECT_DOUBLE_EQ(low.front(), (1.0 - k) * 0.5) << "the first output must start from 0";
    EXPECT_NEAR(low.back(), 0.5, 1e-12) << "a low-pass passes direct current unchanged";
}

TEST(OnePoleLowPass, HighBandIsTheInputMinusTheLowBand)
{
    const double sampleRateHz = 48000.0;
    const std::vector<double> input = Sine(20.0, sampleRateHz, 48000);
    const std::vector<double> low = OnePoleLowPass(input, OnePoleCoefficient(2000.0, sampleRateHz));
    double highEnergy = 0.0;
    double inputEnergy = 0.0;
    for (size_t i = 24000; i < input.size(); ++i)
    {
        const double high = input[i] - low[i];
        highEnergy += high * high;
        inputEnergy += input[i] * input[i];
    }
    EXPECT_LT(10.0 * std::log10(highEnergy / inputEnergy), -39.0)
        << "a 20 Hz tone must be at least 40 dB down in the band above 2 kHz";
}

TEST(OnePoleCoefficient, RateOfZeroOrLessPassesTheInput)
{
    for (double sampleRateHz : {0.0, -48000.0})
    {
        EXPECT_EQ(OnePoleCoefficient(1000.0, sampleRateHz), 0.0) << sampleRateHz;
    }
    EXPECT_EQ(OnePoleLowPass(std::vector<double>{0.25, -1.0}, 0.0),
              (std::vector<double>{0.25, -1.0}));
}
