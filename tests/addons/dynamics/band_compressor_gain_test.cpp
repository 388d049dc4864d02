#include "addons/dynamics/band_compressor_gain.h"

#include "addons/kit/time_coefficient.h"
#include "engine/decibels.h"

#include <gtest/gtest.h>

namespace
{

// The gain once the follower has settled on a steady band level.
double SettledGain(double levelDb, double amount)
{
    const double attack = TimeCoefficient(18.0, 48000.0);
    const double release = TimeCoefficient(180.0, 48000.0);
    double follower = 0.0;
    double gain = 0.0;
    for (int i = 0; i < 48000; ++i)
    {
        gain = BandCompressorGain(follower, DbToGain(levelDb), amount, attack, release);
    }
    return gain;
}

} // namespace

// The amount moves the threshold from -12 dB down to -18 dB and the ratio from
// 1:1 up to 4:1 together; under its threshold a band is left exactly alone.
TEST(BandCompressorGain, AmountSetsThresholdAndRatioTogether)
{
    struct Case
    {
        double levelDb;
        double amount;
        double expectedDb;
    };
    const Case cases[] = {
        {-6.0, 1.0, -9.0},                     // 12 dB over -18 at 4:1
        {-6.0, 0.5, -(1.0 - 1.0 / 2.5) * 9.0}, // 9 dB over -15 at 2.5:1
        {0.0, 0.0, 0.0},                       // 1:1 never reduces
        {-18.5, 1.0, 0.0},                     // under the lowest threshold
        {-16.0, 0.5, 0.0},                     // over -18 but under this amount's -15
    };
    for (const Case& c : cases)
    {
        EXPECT_NEAR(GainToDb(SettledGain(c.levelDb, c.amount), 0.0), c.expectedDb, 1e-6)
            << c.levelDb << " dB at amount " << c.amount;
    }
    EXPECT_EQ(SettledGain(-20.0, 1.0), 1.0) << "a band under its threshold gets exactly 1";
    EXPECT_EQ(SettledGain(0.0, 0.0), 1.0) << "a band at amount 0 gets exactly 1";
}
