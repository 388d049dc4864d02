#include "addons/kit/dc_blocker.h"

#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace
{

std::vector<double> Blocked(const std::vector<double>& input, double pole)
{
    std::vector<double> output(input.size());
    double previousInput = 0.0;
    double previousOutput = 0.0;
    for (size_t i = 0; i < input.size(); ++i)
    {
        output[i] = DcBlockStep(previousInput, previousOutput, input[i], pole);
    }
    return output;
}

// |H| of (1 - z^-1) / (1 - R z^-1) at frequencyHz.
double AnalyticGainDb(double pole, double frequencyHz, int sampleRate)
{
    const std::complex<double> z1 =
        std::polar(1.0, -2.0 * std::numbers::pi * frequencyHz / sampleRate);
    return 20.0 * std::log10(std::abs((1.0 - z1) / (1.0 - pole * z1)));
}

class DcBlockerAtRate : public ::testing::TestWithParam<int>
{
};

} // namespace

// A constant input passes its first value and then dies away as R^n.
TEST(DcBlocker, AConstantDiesAwayByThePoleEachValue)
{
    for (double pole : {0.9, 0.995, 0.9999})
    {
        const std::vector<double> output = Blocked(std::vector<double>(2000, 0.5), pole);
        for (size_t n : {size_t{0}, size_t{1}, size_t{10}, size_t{1999}})
        {
            EXPECT_NEAR(output[n], 0.5 * std::pow(pole, static_cast<double>(n)), 1e-12)
                << "pole " << pole << ", value " << n;
        }
    }
}

// Sines through it lose what the analytic response says: about 3 dB at
// (1 - R) fs / (2 pi), nothing audible a decade above.
TEST_P(DcBlockerAtRate, SinesLoseTheAnalyticGain)
{
    const int rate = GetParam();
    const double pole = 1.0 - 20.0 / rate; // the maximizer's pole, corner near 3.2 Hz
    const double cornerHz = (1.0 - pole) * rate / (2.0 * std::numbers::pi);
    // Whole cycles over the 6 s read, so the Goertzel level is exact: the
    // corner itself is rounded to a sixth of a hertz.
    const double nearCornerHz = std::round(6.0 * cornerHz) / 6.0;
    for (double frequencyHz : {nearCornerHz, 10.0 * nearCornerHz, 100.0, 5000.0})
    {
        const size_t frames = FramesIn(12.0, rate);
        const std::vector<double> input = Sine(frequencyHz, rate, frames, 0.8);
        const std::vector<double> output = Blocked(input, pole);
        const size_t from = FramesIn(6.0, rate); // about 19 time constants of the pole
        const double gainDb = 20.0 * std::log10(GoertzelAmplitude(output, frequencyHz, rate, from) /
                                                GoertzelAmplitude(input, frequencyHz, rate, from));
        EXPECT_NEAR(gainDb, AnalyticGainDb(pole, frequencyHz, rate), 0.01) << frequencyHz << " Hz";
        if (frequencyHz == nearCornerHz)
        {
            EXPECT_NEAR(gainDb, -3.0, 0.1) << "the corner";
        }
        if (frequencyHz >= 100.0)
        {
            EXPECT_NEAR(gainDb, 0.0, 0.01) << frequencyHz << " Hz";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, DcBlockerAtRate, AddonTestRates(), RateTestName);
