#include "addons/kit/biquad_design.h"

#include "engine/decibels.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace
{

class ConstantPeakBandPassAtRate : public ::testing::TestWithParam<int>
{
protected:
    // Two seconds of a sine through a fresh band-pass.
    std::vector<double> Filtered(const std::vector<double>& input, const BiquadCoefficients& c)
    {
        BiquadState state;
        std::vector<double> output(input.size());
        for (size_t i = 0; i < input.size(); ++i)
        {
            output[i] = BiquadStep(state, input[i], c);
        }
        return output;
    }

    double GainDb(double centreHz, double q, double toneHz)
    {
        const int rate = GetParam();
        const std::vector<double> input = Sine(toneHz, rate, 2 * rate, 0.5);
        const std::vector<double> output = Filtered(input, ConstantPeakBandPass(centreHz, q, rate));
        return GainToDb(GoertzelAmplitude(output, toneHz, rate, rate) /
                            GoertzelAmplitude(input, toneHz, rate, rate),
                        0.0);
    }
};

} // namespace

// At its centre the band-pass hands the tone through unchanged, level and
// phase, whatever the Q: once the start has died away, output equals input.
TEST_P(ConstantPeakBandPassAtRate, PassesTheCentreToneUnchanged)
{
    const int rate = GetParam();
    for (double centre : {80.0, 1000.0, 12000.0})
    {
        for (double q : {0.3, 1.0, 6.0})
        {
            const std::vector<double> input = Sine(centre, rate, 2 * rate, 0.5);
            const std::vector<double> output =
                Filtered(input, ConstantPeakBandPass(centre, q, rate));
            double largestDifference = 0.0;
            for (size_t i = rate; i < input.size(); ++i)
            {
                largestDifference = std::max(largestDifference, std::fabs(output[i] - input[i]));
            }
            EXPECT_LT(largestDifference, 1e-6) << centre << " Hz, Q " << q;
        }
    }
}

// The band edges of the analogue prototype lie at sqrt(1 + 1/(4Q^2)) +- 1/(2Q)
// times the centre; the bilinear transform maps them through the tangent. There
// the gain is -3.01 dB, and it keeps falling beyond them.
TEST_P(ConstantPeakBandPassAtRate, IsThreeDbDownAtTheBandEdges)
{
    const int rate = GetParam();
    const double centre = 1000.0;
    for (double q : {0.5, 1.0, 4.0})
    {
        const double root = std::sqrt(1.0 + 1.0 / (4.0 * q * q));
        for (double edge : {root - 1.0 / (2.0 * q), root + 1.0 / (2.0 * q)})
        {
            const double edgeHz = rate / std::numbers::pi *
                                  std::atan(edge * std::tan(std::numbers::pi * centre / rate));
            EXPECT_NEAR(GainDb(centre, q, edgeHz), -3.0103, 0.02) << "Q " << q << " at " << edgeHz;
        }
        EXPECT_LT(GainDb(centre, q, centre / 8.0), -12.0) << "Q " << q;
    }
}

// Zeros at DC and at the Nyquist frequency: a constant and the alternating
// tone both die away to nothing.
TEST_P(ConstantPeakBandPassAtRate, BlocksDcAndTheNyquistTone)
{
    const BiquadCoefficients c = ConstantPeakBandPass(1000.0, 1.0, GetParam());
    BiquadState dc;
    BiquadState nyquist;
    double dcOut = 1.0;
    double nyquistOut = 1.0;
    for (int i = 0; i < GetParam(); ++i)
    {
        dcOut = BiquadStep(dc, 1.0, c);
        nyquistOut = BiquadStep(nyquist, i % 2 == 0 ? 1.0 : -1.0, c);
    }
    EXPECT_NEAR(dcOut, 0.0, 1e-12);
    EXPECT_NEAR(nyquistOut, 0.0, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Rates, ConstantPeakBandPassAtRate, AddonTestRates(), RateTestName);
