#include "engine/profiles/synthetic_profile.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

double BinFrequencyHz(int bin, int fftSize)
{
    return bin * 48000.0 / fftSize;
}

} // namespace

TEST(SyntheticProfileTest, TiltCurvePassesItsPointsAndSmoothsBetweenThem)
{
    struct Case
    {
        double frequencyHz;
        double gainDb;
    };
    const Case cases[] = {
        {1.0, 1.2},
        {30.0, 1.2},
        {90.0, 2.0},
        {200.0, 1.6},
        {1000.0, 0.0},
        {5000.0, -2.5},
        {16000.0, -9.0},
        {20000.0, -13.0},
        {24000.0, -13.0},
        {std::sqrt(1000.0 * 5000.0), -1.25}, // halfway in log frequency: smoothstep gives half
    };
    for (const Case& c : cases)
    {
        EXPECT_NEAR(SyntheticTiltGainDb(c.frequencyHz), c.gainDb, 1e-3) << c.frequencyHz << " Hz";
    }
    EXPECT_EQ(SyntheticTiltGainDb(1000.0), 0.0) << "1 kHz is exactly flat";
    EXPECT_TRUE(std::isfinite(SyntheticTiltGainDb(std::nan(""))));

    // A smoothstep has no slope at the points: just around 1 kHz the curve stays flat.
    EXPECT_NEAR(SyntheticTiltGainDb(1001.0), 0.0, 1e-4);
    EXPECT_NEAR(SyntheticTiltGainDb(999.0), 0.0, 1e-4);
}

TEST(SyntheticProfileTest, SideOffsetNarrowsTheLowsAndOpensTheHighs)
{
    struct Case
    {
        double frequencyHz;
        double offsetDb;
    };
    const Case cases[] = {{1.0, -2.8},     {159.9, -2.8},   {160.0, -2.8},
                          {255.0, -2.4},   {350.0, -2.0},   {7999.0, -2.0},
                          {11000.0, -1.7}, {14000.0, -1.4}, {20000.0, -1.4}};
    for (const Case& c : cases)
    {
        EXPECT_NEAR(SyntheticSideOffsetDb(c.frequencyHz), c.offsetDb, 1e-12) << c.frequencyHz;
    }
}

TEST(SyntheticProfileTest, SpectrumSetsCarryTheLevelOffsetOfTheirFftSize)
{
    for (int fftSize : {4096, 2048})
    {
        const SpectrumSet set = BuildSyntheticSpectrumSet(fftSize, 0.18);
        const double offsetDb = 20.0 * std::log10(std::sqrt(double(fftSize)) * 0.18);
        ASSERT_EQ(set.fftSize, fftSize);
        ASSERT_EQ(set.mid.size(), size_t(fftSize / 2 + 1));
        ASSERT_EQ(set.side.size(), set.mid.size());
        EXPECT_NEAR(set.mid[0], 1.2 + offsetDb, 1e-12) << "bin 0 is read at 1 Hz";
        EXPECT_NEAR(set.side[0], 1.2 - 2.8 + offsetDb, 1e-12);
        for (int bin = 0; bin <= fftSize / 2; ++bin)
        {
            const double f = BinFrequencyHz(bin, fftSize);
            if (f >= 350.0 && f < 8000.0)
            {
                ASSERT_NEAR(set.mid[bin] - set.side[bin], 2.0, 1e-9) << f << " Hz";
            }
        }
    }
    EXPECT_NEAR(20.0 * std::log10(64.0 * 0.18), 21.23, 0.01);
    const SpectrumSet at1k = BuildSyntheticSpectrumSet(48, 1.0 / std::sqrt(48.0));
    EXPECT_NEAR(at1k.mid[1], 0.0, 1e-12) << "bin 1 of a 48-point FFT is 1 kHz, unit level";
}

TEST(SyntheticProfileTest, DefaultProfileHoldsItsFixedFigures)
{
    const ReferenceProfile p = BuildSyntheticDefaultProfile();
    EXPECT_EQ(p.version, 6u);
    EXPECT_EQ(p.sampleRate, 48000);
    EXPECT_EQ(p.fftSize, 4096);
    EXPECT_EQ(p.linLogOversampling, 4);
    EXPECT_EQ(p.smoothingOctaveDenominator, 6);
    EXPECT_TRUE(p.psychoacoustic);
    EXPECT_TRUE(p.adaptiveStrength);
    EXPECT_EQ(p.peakCeiling, 1.0);
    EXPECT_EQ(p.referenceMatchRms, 0.18);
    EXPECT_NEAR(p.truePeak, 0.8913, 1e-4);
    EXPECT_TRUE(p.hasIntegratedLufs);
    EXPECT_EQ(p.integratedLufs, -9.0);
    EXPECT_TRUE(p.hasShortTermDistribution);
    EXPECT_EQ(p.shortTermLufsPercentiles[0], -12.0);
    EXPECT_EQ(p.shortTermLufsPercentiles[4], -8.3);
    EXPECT_EQ(p.loudnessRange, 6.0);
    EXPECT_EQ(p.pieceRmsPercentiles[2], 0.145);
    ASSERT_EQ(p.dynamicsSets.size(), 3u);
    for (const DynamicsSet& set : p.dynamicsSets)
    {
        EXPECT_EQ(set.bandRms.size(), size_t(set.bandCount)) << "a run would reject this set";
    }
    EXPECT_EQ(p.dynamicsSets[2].bandRms[5], 0.168);
    ASSERT_EQ(p.spectrumSets.size(), 2u);
    EXPECT_EQ(p.spectrumSets[0], BuildSyntheticSpectrumSet(4096, 0.18));
    EXPECT_EQ(p.spectrumSets[1], BuildSyntheticSpectrumSet(2048, 0.18));
    EXPECT_EQ(p.midSpectrum, p.spectrumSets[0].mid);
    EXPECT_EQ(p.sideSpectrum, p.spectrumSets[0].side);
    EXPECT_EQ(p.name, "Default");
    EXPECT_EQ(p.description,
              "Synthetic unity mastering profile with flat tonal mapping, restrained low-end "
              "width, slight high-band stereo openness, and moderate modern loudness.");
    EXPECT_TRUE(p.sourcePath.empty());
    EXPECT_EQ(p.sourceFileName, "Synthetic Default");
    EXPECT_EQ(p.sourceSampleRate, 48000);
    EXPECT_EQ(p.createdAt.size(), 20u);

    ReferenceProfile again = BuildSyntheticDefaultProfile();
    again.createdAt = p.createdAt;
    EXPECT_EQ(again, p) << "only the creation time may differ between calls";
}
