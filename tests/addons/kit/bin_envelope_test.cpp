#include "addons/kit/bin_envelope.h"

#include <gtest/gtest.h>

#include <cmath>

// The time constants count in hops: after t / (hop / fs) steps a step input
// has been followed 1 - 1/e of the way up (attack) or down (release).
TEST(BinEnvelope, FollowsAStepInItsTimeCountedInHops)
{
    const double rate = 48000.0;
    const std::size_t hop = 1024;
    const double hopSeconds = hop / rate;
    const double attackMs = 20.0 * hopSeconds * 1000.0; // 20 hops
    const double releaseMs = 50.0 * hopSeconds * 1000.0;
    const BinFollowerCoefficients c = BinFollowerCoefficientsFor(attackMs, releaseMs, rate, hop);
    std::vector<double> envelopes;
    PrepareBinEnvelopes(envelopes, 2, 0.0);
    const std::vector<std::complex<double>> loud = {{3.0, 4.0}, {0.0, -5.0}}; // magnitude 5
    for (int i = 0; i < 20; ++i)
    {
        FollowBinMagnitudes(envelopes, loud, c);
    }
    EXPECT_NEAR(envelopes[0], 5.0 * (1.0 - std::exp(-1.0)), 1e-9);
    EXPECT_EQ(envelopes[1], envelopes[0]);
    for (int i = 0; i < 1000; ++i)
    {
        FollowBinMagnitudes(envelopes, loud, c);
    }
    const std::vector<std::complex<double>> silent(2);
    for (int i = 0; i < 50; ++i)
    {
        FollowBinMagnitudes(envelopes, silent, c);
    }
    EXPECT_NEAR(envelopes[0], 5.0 * std::exp(-1.0), 1e-9);
}

TEST(BinEnvelope, TimesAreHeldToTheirFloors)
{
    const double rate = 44100.0;
    const BinFollowerCoefficients fast = BinFollowerCoefficientsFor(0.5, 2.0, rate, 1024);
    const BinFollowerCoefficients floors = BinFollowerCoefficientsFor(1.0, 10.0, rate, 1024);
    EXPECT_EQ(fast.attack, floors.attack);
    EXPECT_EQ(fast.release, floors.release);
    EXPECT_NEAR(floors.attack, std::exp((-1024.0 / rate) / 0.001), 1e-15);
    EXPECT_NEAR(floors.release, std::exp((-1024.0 / rate) / 0.01), 1e-15);
}

TEST(BinEnvelope, PreparedToTheBinCountOrLeftRunning)
{
    std::vector<double> envelopes;
    PrepareBinEnvelopes(envelopes, 2049, 0.0);
    EXPECT_EQ(envelopes, std::vector<double>(2049, 0.0));
    std::vector<double> wrongSize(12, 3.0);
    PrepareBinEnvelopes(wrongSize, 2049, 1.0);
    EXPECT_EQ(wrongSize, std::vector<double>(2049, 1.0));
    std::vector<double> running(2049, 0.25);
    PrepareBinEnvelopes(running, 2049, 1.0);
    EXPECT_EQ(running, std::vector<double>(2049, 0.25));
}
