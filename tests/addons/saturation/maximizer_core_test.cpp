#include "addons/saturation/maximizer_core.h"

#include "addons/kit/time_coefficient.h"
#include "engine/decibels.h"
#include "engine/stages/limiter_input.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace
{

MaximizerCore PreparedCore(double sampleRate, bool reduceFatigue)
{
    MaximizerCore core;
    core.channelStates.resize(2);
    core.sampleRate = sampleRate;
    core.reduceFatigue = reduceFatigue;
    core.prepare();
    return core;
}

enum class Band
{
    Low,
    Mid,
    High
};

// A state whose filters put the whole input in one band and whose followers
// follow at once, so one value from rest shows that band's gain at the
// value's own level (the DC blocker passes a first value as it is).
MaximizerChannelState OneBandState(Band band)
{
    MaximizerChannelState state;
    state.lowCoef = band == Band::Low ? 0.0 : 1.0;    // 0: low = x; 1: low stays 0
    state.splitCoef = band == Band::High ? 1.0 : 0.0; // 0: everything under the split
    state.dcPole = 0.995;
    return state;
}

} // namespace

// Reduce fatigue slows both attacks (2.5 and 10 ms instead of 1 and 5 ms);
// the releases stay 80 and 150 ms.
TEST(MaximizerCore, ReduceFatigueSlowsBothAttacks)
{
    const double fs = 48000.0;
    for (bool reduceFatigue : {true, false})
    {
        SCOPED_TRACE(reduceFatigue ? "reduce fatigue" : "full");
        const MaximizerCore core = PreparedCore(fs, reduceFatigue);
        for (const MaximizerChannelState& state : core.channelStates)
        {
            EXPECT_EQ(state.highAttack, TimeCoefficient(reduceFatigue ? 2.5 : 1.0, fs));
            EXPECT_EQ(state.lowAttack, TimeCoefficient(reduceFatigue ? 10.0 : 5.0, fs));
            EXPECT_EQ(state.highRelease, TimeCoefficient(80.0, fs));
            EXPECT_EQ(state.lowRelease, TimeCoefficient(150.0, fs));
            EXPECT_NEAR(state.lowCoef, std::exp(-2.0 * std::numbers::pi * 150.0 / fs), 1e-15);
            EXPECT_NEAR(state.splitCoef, std::exp(-2.0 * std::numbers::pi * 1200.0 / fs), 1e-15);
            EXPECT_DOUBLE_EQ(state.dcPole, 1.0 - 20.0 / fs);
        }
    }
}

// Corners stay under 0.45 fs and the DC pole inside 0.9..0.9999; a rate of 0
// or less freezes the band filters and makes the followers follow at once.
TEST(MaximizerCore, PrepareHoldsItsValuesAtOddRates)
{
    struct Case
    {
        double fs;
        double lowCoef;
        double splitCoef;
        double follower; // every follower coefficient, or NaN: not checked
        double dcPole;
    };
    const double unchecked = std::nan("");
    const Case cases[] = {
        {1000.0, std::exp(-2.0 * std::numbers::pi * 150.0 / 1000.0),
         std::exp(-2.0 * std::numbers::pi * 0.45), unchecked, 0.98},
        {100.0, std::exp(-2.0 * std::numbers::pi * 0.45), std::exp(-2.0 * std::numbers::pi * 0.45),
         unchecked, 0.9},
        {1e6, std::exp(-2.0 * std::numbers::pi * 150.0 / 1e6),
         std::exp(-2.0 * std::numbers::pi * 1200.0 / 1e6), unchecked, 0.9999},
        {0.0, 1.0, 1.0, 0.0, 0.995},
        {-48000.0, 1.0, 1.0, 0.0, 0.995},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.fs << " Hz");
        const MaximizerChannelState state = PreparedCore(c.fs, true).channelStates[1];
        EXPECT_NEAR(state.lowCoef, c.lowCoef, 1e-15);
        EXPECT_NEAR(state.splitCoef, c.splitCoef, 1e-15);
        EXPECT_DOUBLE_EQ(state.dcPole, c.dcPole);
        if (!std::isnan(c.follower))
        {
            for (double coefficient :
                 {state.highAttack, state.highRelease, state.lowAttack, state.lowRelease})
            {
                EXPECT_EQ(coefficient, c.follower);
            }
        }
    }
}

// The lows rise by 0.55 dB per unit of contour when quiet and 0.63 dB when
// loud, the highs by 0.45 to 0.55 dB per unit of process, the mids are cut by
// 0.5 dB; reduce fatigue takes 0.85 of the contour and 0.65 of the process
// and alone cuts the mids.
TEST(MaximizerCore, EachBandIsLiftedByItsLawAtItsLevel)
{
    struct Case
    {
        Band band;
        bool reduceFatigue;
        double amount; // contour for the low band, process for the high band
        double level;
        double gainDb;
        double toleranceDb;
    };
    const Case cases[] = {
        {Band::Low, false, 10.0, 1e-3, 5.5, 0.003},
        {Band::Low, false, 10.0, 0.5, 6.3, 1e-9},
        {Band::Low, true, 10.0, 0.5, 0.85 * 6.3, 1e-9},
        {Band::Low, false, 4.0, 0.1, 0.55 * 4.0 + 0.3 * 0.08 * 4.0, 1e-9},
        {Band::High, false, 10.0, 1e-3, 4.5, 0.005},
        {Band::High, false, 10.0, 0.5, 5.5, 1e-9},
        {Band::High, true, 10.0, 0.5, 0.65 * 5.5, 1e-9},
        {Band::High, false, 4.0, 0.1, 0.45 * 4.0 + 0.1 * 4.0 * 0.4, 1e-9},
        {Band::Mid, true, 10.0, 0.5, -0.5, 1e-9},
        {Band::Mid, false, 10.0, 0.5, 0.0, 1e-9},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message()
                     << "band " << static_cast<int>(c.band) << (c.reduceFatigue ? ", reduced" : "")
                     << ", amount " << c.amount << ", level " << c.level);
        MaximizerCore core;
        core.reduceFatigue = c.reduceFatigue;
        core.contourAmount = c.band == Band::Low ? c.amount : 0.0;
        core.processAmount = c.band == Band::High ? c.amount : 0.0;
        for (double sign : {1.0, -1.0})
        {
            MaximizerChannelState state = OneBandState(c.band);
            const double out = core.processSample(sign * c.level, state);
            EXPECT_NEAR(GainToDb(out / (sign * c.level), 0.0), c.gainDb, c.toleranceDb);
        }
    }
}

// The trim scales every output value; the DC blocker then takes a constant
// away as its pole to the power of the count.
TEST(MaximizerCore, TrimScalesAndTheDcBlockerDrainsAConstant)
{
    MaximizerCore core;
    core.trim = 0.5;
    core.reduceFatigue = false;
    MaximizerChannelState state = OneBandState(Band::Mid);
    EXPECT_DOUBLE_EQ(core.processSample(0.8, state), 0.4);
    double out = 0.0;
    for (int i = 1; i <= 100; ++i)
    {
        out = core.processSample(0.8, state);
    }
    EXPECT_NEAR(out, 0.4 * std::pow(0.995, 100.0), 1e-12);
}

// Value i goes through the state of channel i mod 2, a trailing odd value
// through the left one; the list's peak never ends above where it began.
TEST(MaximizerCore, ProcessBufferRunsEachValueThroughItsChannel)
{
    MaximizerCore core = PreparedCore(48000.0, false);
    core.contourAmount = 10.0;
    core.processAmount = 10.0;
    core.trim = 0.25; // quiet enough that the peak rule leaves it alone
    std::vector<double> samples = {0.3, -0.2, 0.25, 0.1, -0.3};
    std::vector<MaximizerChannelState> states = core.channelStates;
    std::vector<double> expected(samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
    {
        expected[i] = core.processSample(samples[i], states[i % 2]);
    }
    core.processBuffer(samples);
    EXPECT_EQ(samples, expected);
}

TEST(MaximizerCore, ProcessBufferKeepsThePeakAndLeavesSilenceAndBadLayouts)
{
    {
        MaximizerCore core = PreparedCore(48000.0, false);
        core.contourAmount = core.processAmount = 10.0;
        std::vector<double> samples = StereoSine(60.0, 48000, 0.5, 0.9).samples;
        core.processBuffer(samples);
        EXPECT_LE(LargestMagnitude(samples), 0.9) << "the lifted lows must be scaled back";
        EXPECT_NEAR(LargestMagnitude(samples), 0.9, 1e-12);
    }
    struct Case
    {
        const char* what;
        std::vector<double> samples;
        int channelCount;
        size_t states;
    };
    const Case cases[] = {
        {"peak 1e-12 counts as silence", {1e-12, -1e-12, 0.0, 5e-13}, 2, 2},
        {"empty", {}, 2, 2},
        {"no channel", {0.5, 0.5}, 0, 2},
        {"fewer states than channels", {0.5, 0.5, 0.5}, 3, 2},
    };
    for (const Case& c : cases)
    {
        MaximizerCore core = PreparedCore(48000.0, false);
        core.channelStates.resize(c.states);
        core.channelCount = c.channelCount;
        core.contourAmount = core.processAmount = 10.0;
        std::vector<double> samples = c.samples;
        core.processBuffer(samples);
        EXPECT_EQ(samples, c.samples) << c.what;
    }
}
