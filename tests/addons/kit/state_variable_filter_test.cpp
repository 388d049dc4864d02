#include "addons/kit/state_variable_filter.h"

#include "addons/kit/state_variable_bell.h"
#include "engine/decibels.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace
{

constexpr int kRate = 48000;

// A one-second sine of whole cycles (integer frequency) through `step`, and the
// gain at that frequency over the last half second, once the start is gone.
double GainDb(double frequencyHz, const std::function<double(double)>& step)
{
    const std::vector<double> input = Sine(frequencyHz, kRate, kRate, 0.5);
    std::vector<double> output(input.size());
    for (size_t i = 0; i < input.size(); ++i)
    {
        output[i] = step(input[i]);
    }
    const size_t from = kRate / 2;
    return 20.0 * std::log10(GoertzelAmplitude(output, frequencyHz, kRate, from) /
                             GoertzelAmplitude(input, frequencyHz, kRate, from));
}

enum class Output
{
    Band,
    Low,
    High
};

double FilterGainDb(double centreHz, double damping, double toneHz, Output which)
{
    const StateVariableCoefficients c = StateVariableCoefficientsFor(centreHz, damping, kRate);
    StateVariableState state;
    return GainDb(
        toneHz,
        [&](double x)
        {
            const StateVariableOutputs out = StateVariableStep(state, x, c);
            return which == Output::Band ? out.band : which == Output::Low ? out.low : out.high;
        });
}

} // namespace

TEST(StateVariableFilter, BandPeaksAtOneOverDampingAtTheCentre)
{
    for (double damping : {0.5, 0.7, 1.0, 1.4})
    {
        for (double centre : {100.0, 1000.0, 12000.0})
        {
            EXPECT_NEAR(FilterGainDb(centre, damping, centre, Output::Band),
                        GainToDb(1.0 / damping, 0.0), 0.01)
                << "k " << damping << " at " << centre << " Hz";
            // Off the centre the band falls away on both sides.
            EXPECT_LT(FilterGainDb(centre, damping, centre / 4.0, Output::Band),
                      GainToDb(1.0 / damping, 0.0) - 6.0);
        }
    }
}

// Second-order slopes, as the analogue prototype gives them: at f/5 with
// k = 1 the high output is 0.04 / sqrt(0.96^2 + 0.2^2), about -27.8 dB, and a
// decade below the centre it is down 40 dB; the low output mirrors it above
// and passes f/5 at 1 / sqrt(0.96^2 + 0.2^2), about +0.17 dB.
TEST(StateVariableFilter, LowAndHighOutputsFallAtTwelveDbAnOctave)
{
    EXPECT_NEAR(FilterGainDb(1000.0, 1.0, 200.0, Output::High), -27.8, 0.3);
    EXPECT_NEAR(FilterGainDb(1000.0, 1.0, 100.0, Output::High), -40.0, 0.3);
    EXPECT_NEAR(FilterGainDb(200.0, 1.0, 40.0, Output::Low), 0.17, 0.02);
    EXPECT_NEAR(FilterGainDb(200.0, 1.0, 1000.0, Output::Low), -27.8, 0.3);
    EXPECT_NEAR(FilterGainDb(1000.0, 1.0, 1000.0, Output::High), 0.0, 0.01); // Q = 1
}

TEST(StateVariableFilter, SettlesAtDcAndNyquistAsALowPass)
{
    // A constant input: the low output reaches it, band and high die away.
    const StateVariableCoefficients c = StateVariableCoefficientsFor(1000.0, 0.7, kRate);
    StateVariableState state;
    StateVariableOutputs out{};
    for (int i = 0; i < kRate / 10; ++i)
    {
        out = StateVariableStep(state, 1.0, c);
    }
    EXPECT_NEAR(out.low, 1.0, 1e-12);
    EXPECT_NEAR(out.band, 0.0, 1e-12);
    EXPECT_NEAR(out.high, 0.0, 1e-12);

    // The Nyquist tone (+1, -1, ...): the trapezoidal low and band outputs
    // have a zero there, so only the high output carries it, at full height.
    state = {};
    for (int i = 0; i < kRate / 10; ++i)
    {
        out = StateVariableStep(state, i % 2 == 0 ? 1.0 : -1.0, c);
    }
    EXPECT_NEAR(out.low, 0.0, 1e-9);
    EXPECT_NEAR(out.band, 0.0, 1e-9);
    EXPECT_NEAR(std::fabs(out.high), 1.0, 1e-9);
}

TEST(StateVariableBell, GivesExactlyItsGainAtTheCentreAndNoneFarAway)
{
    for (double damping : {0.5, 0.7, 0.9, 1.0, 2.0})
    {
        for (double gainDb : {-6.0, -3.0, 3.5, 9.0})
        {
            const StateVariableCoefficients c =
                StateVariableCoefficientsFor(3200.0, damping, kRate);
            StateVariableState state;
            const auto bell = [&](double x)
            { return StateVariableBellStep(state, x, c, DbToGain(gainDb)); };
            EXPECT_NEAR(GainDb(3200.0, bell), gainDb, 0.01) << "k " << damping;
            state = {};
            EXPECT_NEAR(GainDb(40.0, bell), 0.0, 0.1) << "k " << damping << " at 40 Hz";
        }
    }
}
