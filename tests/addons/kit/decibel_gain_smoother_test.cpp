#include "addons/kit/decibel_gain_smoother.h"

#include "addons/kit/time_coefficient.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

// The gain after holding a target for `ms` at 48 kHz, from `startDb`.
double HeldFor(double ms, double startDb, double targetDb, double attack, double release,
               GainAttack attackWhen)
{
    double gainDb = startDb;
    for (int i = 0; i < static_cast<int>(ms * 48.0); ++i)
    {
        SmoothGainDb(gainDb, targetDb, attack, release, attackWhen);
    }
    return gainDb;
}

} // namespace

// A downward expander closes in its attack time and opens in its release time;
// an upward expander lifts in its attack time and lets go in its release time.
// After one time constant a step is 1 - 1/e of the way to its target.
TEST(DecibelGainSmoother, EachDirectionTakesItsOwnTimeConstant)
{
    const double attack = TimeCoefficient(5.0, 48000.0);
    const double release = TimeCoefficient(50.0, 48000.0);
    const double covered = 1.0 - std::exp(-1.0);
    struct Case
    {
        GainAttack attackWhen;
        double fromDb;
        double toDb;
        double ms; // the time constant the move should take
    };
    const Case cases[] = {
        {GainAttack::Falling, 0.0, -12.0, 5.0},  // closing: attack
        {GainAttack::Falling, -12.0, 0.0, 50.0}, // opening: release
        {GainAttack::Rising, 0.0, 6.0, 5.0},     // lifting: attack
        {GainAttack::Rising, 6.0, 0.0, 50.0},    // letting go: release
    };
    for (const Case& c : cases)
    {
        const double gainDb = HeldFor(c.ms, c.fromDb, c.toDb, attack, release, c.attackWhen);
        EXPECT_NEAR(gainDb, c.fromDb + covered * (c.toDb - c.fromDb), 1e-3)
            << c.fromDb << " to " << c.toDb << " dB";
    }
}

TEST(DecibelGainSmoother, NeverPassesItsTargetAndStaysAtZeroWithoutOne)
{
    const double attack = TimeCoefficient(1.0, 48000.0);
    const double release = TimeCoefficient(20.0, 48000.0);
    for (GainAttack direction : {GainAttack::Falling, GainAttack::Rising})
    {
        EXPECT_EQ(HeldFor(100.0, 0.0, 0.0, attack, release, direction), 0.0);
        double gainDb = 0.0;
        for (int i = 0; i < 48000; ++i)
        {
            const double targetDb = i < 24000 ? -9.0 : 4.0;
            SmoothGainDb(gainDb, targetDb, attack, release, direction);
            ASSERT_GE(gainDb, -9.0);
            ASSERT_LE(gainDb, 4.0);
        }
        EXPECT_NEAR(gainDb, 4.0, 1e-9);
    }
}
