#include "addons/kit/spectral_band.h"

#include <gtest/gtest.h>

TEST(SpectralBand, BinsBetweenTheCutOffsWithoutDcAndUpToHalfTheFrame)
{
    struct Case
    {
        double lowHz;
        double highHz;
        double rate;
        std::size_t n;
        long lowest;
        long highest;
    };
    const Case cases[] = {
        {60.0, 18000.0, 48000.0, 4096, 6, 1536},  // 60 / 11.71875 = 5.12 up, 1536 exactly
        {1.0, 18000.0, 48000.0, 4096, 1, 1536},   // below one spacing: still not the DC bin
        {0.0, 18000.0, 48000.0, 4096, 1, 1536},   // not even at 0 Hz
        {60.0, 20000.0, 32000.0, 4096, 8, 2048},  // above half the rate: the last bin
        {60.0, 20000.0, 32000.0, 8192, 16, 4096}, // the same for the longer frame
        {93.75, 15000.0, 48000.0, 8192, 16, 2560},
        {500.0, 4000.0, 1.0, 4096, 2049, 2048}, // a rate of 1 Hz: no bin inside
    };
    for (const Case& c : cases)
    {
        const SpectralBand band = SpectralBandLimits(c.lowHz, c.highHz, c.rate, c.n);
        EXPECT_EQ(band.lowest, c.lowest) << c.lowHz << " Hz at " << c.rate << ", N " << c.n;
        EXPECT_EQ(band.highest, c.highest) << c.highHz << " Hz at " << c.rate << ", N " << c.n;
    }
    const SpectralBand band = SpectralBandLimits(60.0, 18000.0, 48000.0, 4096);
    EXPECT_FALSE(band.Contains(0));
    EXPECT_FALSE(band.Contains(5));
    EXPECT_TRUE(band.Contains(6));
    EXPECT_TRUE(band.Contains(1536));
    EXPECT_FALSE(band.Contains(1537));
}
