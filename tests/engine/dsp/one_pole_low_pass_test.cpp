#include "engine/dsp/one_pole_low_pass.h"

#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

namespace
{

const double kPi = std::acos(-1.0);

// Level of the filter's steady state against its input, over the second of two
// seconds (whole cycles of an integer frequency), in dB.
double SteadyGainDb(double frequencyHz, double cutoffHz, int sampleRate)
{
    const std::size_t second = static_cast<std::size_t>(sampleRate);
    const std::vector<double> input = Sine(frequencyHz, sampleRate, 2 * second, 1.0);
    return SteadyStateGainDb(input, OnePoleLowPass(input, OnePoleCoefficient(cutoffHz, sampleRate)),
                             second);
}

// |H| of y = (1 - k) x + k y at angular frequency w: (1 - k) / |1 - k e^-jw|.
double AnalyticGainDb(double frequencyHz, double cutoffHz, double sampleRateHz)
{
    const double k = OnePoleCoefficient(cutoffHz, sampleRateHz);
    const double w = 2.0 * kPi * frequencyHz / sampleRateHz;
    const double magnitude = (1.0 - k) / std::sqrt(1.0 - 2.0 * k * std::cos(w) + k * k);
    return 20.0 * std::log10(magnitude);
}

// A cutoff in Hz and a sample rate.
using CornerCase = std::tuple<double, int>;

class OnePoleCorner : public ::testing::TestWithParam<CornerCase>
{
};

} // namespace

TEST_P(OnePoleCorner, IsThreeDbDownAtItsCutoff)
{
    const auto [cutoffHz, sampleRate] = GetParam();
    EXPECT_NEAR(SteadyGainDb(cutoffHz, cutoffHz, sampleRate), -3.01, 0.05)
        << "a corner well below Nyquist must sit at -3 dB";
}

TEST_P(OnePoleCorner, FollowsTheAnalyticResponseAcrossTheBand)
{
    const auto [cutoffHz, sampleRate] = GetParam();
    for (double frequencyHz : {cutoffHz / 10.0, cutoffHz * 4.0, cutoffHz * 20.0})
    {
        EXPECT_NEAR(SteadyGainDb(frequencyHz, cutoffHz, sampleRate),
                    AnalyticGainDb(frequencyHz, cutoffHz, sampleRate), 0.02)
            << frequencyHz << " Hz through a " << cutoffHz << " Hz one-pole";
    }
}

INSTANTIATE_TEST_SUITE_P(Corners, OnePoleCorner,
                         ::testing::Combine(::testing::Values(100.0, 200.0, 900.0, 1000.0),
                                            AddonTestRates()),
                         [](const ::testing::TestParamInfo<CornerCase>& info)
                         {
                             return std::to_string(static_cast<int>(std::get<0>(info.param))) +
                                    "HzAt" + RateName(std::get<1>(info.param));
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
    const std::vector<double> input = Sine(20.0, 48000, 48000, 1.0);
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
