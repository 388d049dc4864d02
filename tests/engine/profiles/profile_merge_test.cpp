#include "engine/profiles/profile_merge.h"

#include "base/unicode_text.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <stdexcept>

namespace
{

constexpr double kFloorDb = -120.0; // 20 log10(1e-6), the default floor

// A profile as analysis makes them: target spectra mirror the first set.
ReferenceProfile MakeProfile(double level)
{
    ReferenceProfile p;
    p.version = 6;
    p.sampleRate = 48000;
    p.fftSize = 4;
    p.linLogOversampling = 4;
    p.referenceMatchRms = level;
    p.finalAmplitudeCoefficient = 1.0 + level;
    p.truePeak = 2.0 * level;
    p.hasIntegratedLufs = true;
    p.integratedLufs = -10.0 * level;
    p.hasShortTermDistribution = true;
    for (int q = 0; q < 5; ++q)
    {
        p.shortTermLufsPercentiles[q] = -20.0 * level + q;
        p.pieceRmsPercentiles[q] = level * (q + 1);
    }
    p.loudnessRange = 4.0 * level;
    p.dynamicsSets = {{1, {level}}, {3, {level, level / 2.0, level / 4.0}}};
    p.spectrumSets = {{4, {0.0, -6.0, -12.0}, {-3.0, -9.0, -15.0}},
                      {2, {-1.0, -2.0}, {-4.0, -5.0}}};
    p.midSpectrum = p.spectrumSets[0].mid;
    p.sideSpectrum = p.spectrumSets[0].side;
    p.name = "input";
    p.description = "an input";
    p.createdAt = "2020-01-01T00:00:00Z";
    p.sourcePath = "/music/ref.wav";
    p.sourceFileName = "ref.wav";
    p.sourceSampleRate = 44100;
    return p;
}

std::string MergeError(const std::vector<ProfileMergeInput>& inputs)
{
    try
    {
        MergeReferenceProfiles(inputs, "", "");
    }
    catch (const std::runtime_error& error)
    {
        return error.what();
    }
    return "(merged)";
}

} // namespace

TEST(ProfileMergeTest, SingleInputComesBackWithOnlyTheMergeChanges)
{
    ReferenceProfile input = MakeProfile(0.2);
    input.version = 3;
    input.spectrumSets[0].mid[2] = -200.0;
    input.midSpectrum = input.spectrumSets[0].mid;

    const ReferenceProfile merged = MergeReferenceProfiles({{input, 2.0}}, "", "");

    ReferenceProfile expected = input;
    expected.version = 6;
    expected.spectrumSets[0].mid[2] = kFloorDb;
    expected.midSpectrum = expected.spectrumSets[0].mid;
    expected.name = "Merged Profile";
    expected.description = "Weighted merge of multiple reference profiles.";
    expected.createdAt = merged.createdAt;
    expected.sourcePath.clear();
    expected.sourceFileName.clear();
    // dB -> amplitude -> dB is not exact; compare the spectra with a tolerance.
    for (size_t s = 0; s < expected.spectrumSets.size(); ++s)
    {
        for (size_t k = 0; k < expected.spectrumSets[s].mid.size(); ++k)
        {
            EXPECT_NEAR(merged.spectrumSets[s].mid[k], expected.spectrumSets[s].mid[k], 1e-9);
            EXPECT_NEAR(merged.spectrumSets[s].side[k], expected.spectrumSets[s].side[k], 1e-9);
        }
    }
    ReferenceProfile mergedExact = merged;
    mergedExact.spectrumSets = expected.spectrumSets;
    mergedExact.midSpectrum = expected.midSpectrum;
    mergedExact.sideSpectrum = expected.sideSpectrum;
    EXPECT_EQ(mergedExact, expected);
    EXPECT_EQ(merged.createdAt.size(), std::string("2026-01-01T00:00:00Z").size());
    EXPECT_NE(merged.createdAt, input.createdAt);
}

TEST(ProfileMergeTest, FiguresAreWeightedMeans)
{
    const ReferenceProfile a = MakeProfile(0.1);
    const ReferenceProfile b = MakeProfile(0.3);
    const ReferenceProfile merged = MergeReferenceProfiles({{a, 1.0}, {b, 3.0}}, "Mix", "Mixed");

    auto mean = [](double x0, double x1) { return (x0 + 3.0 * x1) / 4.0; };
    EXPECT_DOUBLE_EQ(merged.referenceMatchRms, mean(0.1, 0.3));
    EXPECT_DOUBLE_EQ(merged.finalAmplitudeCoefficient, mean(1.1, 1.3));
    EXPECT_DOUBLE_EQ(merged.truePeak, mean(0.2, 0.6));
    EXPECT_DOUBLE_EQ(merged.integratedLufs, mean(-1.0, -3.0));
    EXPECT_DOUBLE_EQ(merged.loudnessRange, mean(0.4, 1.2));
    for (int q = 0; q < 5; ++q)
    {
        EXPECT_DOUBLE_EQ(merged.shortTermLufsPercentiles[q],
                         mean(a.shortTermLufsPercentiles[q], b.shortTermLufsPercentiles[q]));
        EXPECT_DOUBLE_EQ(merged.pieceRmsPercentiles[q],
                         mean(a.pieceRmsPercentiles[q], b.pieceRmsPercentiles[q]));
    }
    EXPECT_DOUBLE_EQ(merged.dynamicsSets[1].bandRms[2], mean(0.025, 0.075))
        << "band RMS is averaged linearly";
    EXPECT_EQ(merged.name, "Mix");
    EXPECT_EQ(merged.description, "Mixed");
    EXPECT_EQ(merged.sourceSampleRate, 44100) << "the first input is the template";
}

TEST(ProfileMergeTest, SpectraAreAveragedAsAmplitudes)
{
    ReferenceProfile loud = MakeProfile(0.1);
    ReferenceProfile quiet = MakeProfile(0.1);
    loud.spectrumSets[0].mid[0] = 0.0;
    quiet.spectrumSets[0].mid[0] = kFloorDb;
    loud.midSpectrum = loud.spectrumSets[0].mid;
    quiet.midSpectrum = quiet.spectrumSets[0].mid;

    const ReferenceProfile merged = MergeReferenceProfiles({{loud, 1.0}, {quiet, 1.0}}, "", "");
    EXPECT_NEAR(merged.spectrumSets[0].mid[0], -6.0206, 1e-3)
        << "0 dB and -120 dB average to half the amplitude, not to -60 dB";
    EXPECT_EQ(merged.midSpectrum, merged.spectrumSets[0].mid);
}

TEST(ProfileMergeTest, TargetSpectraAndFftSizeComeFromTheFirstSet)
{
    ReferenceProfile a = MakeProfile(0.1);
    a.fftSize = 2; // header names the second set
    a.midSpectrum = a.spectrumSets[1].mid;
    a.sideSpectrum = a.spectrumSets[1].side;
    const ReferenceProfile merged = MergeReferenceProfiles({{a, 1.0}}, "", "");
    EXPECT_EQ(merged.fftSize, 4);
    EXPECT_EQ(merged.midSpectrum.size(), 3u);
}

TEST(ProfileMergeTest, DynamicsBandCountIsOneWhenAnySetHasOneBand)
{
    struct Case
    {
        std::vector<int> bandCounts;
        int expected;
    };
    for (const Case& c : {Case{{}, 1}, Case{{3, 6}, 3}, Case{{6, 1}, 1}, Case{{6, 3}, 6}})
    {
        ReferenceProfile p = MakeProfile(0.1);
        p.dynamicsBandCount = 99;
        p.dynamicsSets.clear();
        for (int bands : c.bandCounts)
        {
            p.dynamicsSets.push_back({bands, std::vector<double>(bands, 0.1)});
        }
        EXPECT_EQ(MergeReferenceProfiles({{p, 1.0}}, "", "").dynamicsBandCount, c.expected)
            << c.bandCounts.size() << " sets";
    }
}

TEST(ProfileMergeTest, LoudnessFlagsNeedEveryInput)
{
    ReferenceProfile a = MakeProfile(0.1);
    ReferenceProfile b = MakeProfile(0.3);
    b.hasIntegratedLufs = false;
    b.hasShortTermDistribution = false;
    const ReferenceProfile merged = MergeReferenceProfiles({{a, 1.0}, {b, 1.0}}, "", "");
    EXPECT_FALSE(merged.hasIntegratedLufs);
    EXPECT_EQ(merged.integratedLufs, 0.0);
    EXPECT_FALSE(merged.hasShortTermDistribution);
    EXPECT_EQ(merged.shortTermLufsPercentiles[4], 0.0);
    EXPECT_DOUBLE_EQ(merged.loudnessRange, 0.8) << "loudness range is averaged whatever the flags";
}

TEST(ProfileMergeTest, IncompatibleInputsNameTheFirstDifference)
{
    struct Case
    {
        const char* reason;
        std::function<void(ReferenceProfile&)> change;
    };
    const Case cases[] = {
        {"sampleRate differs", [](ReferenceProfile& p) { p.sampleRate = 44100; }},
        {"fftSize differs", [](ReferenceProfile& p) { p.fftSize = 8; }},
        {"linLogOversampling differs", [](ReferenceProfile& p) { p.linLogOversampling = 2; }},
        {"smoothingOctaveDenominator differs",
         [](ReferenceProfile& p) { p.smoothingOctaveDenominator = 3; }},
        {"psychoacoustic flag differs", [](ReferenceProfile& p) { p.psychoacoustic = true; }},
        {"adaptiveStrength flag differs", [](ReferenceProfile& p) { p.adaptiveStrength = true; }},
        {"mid spectrum size differs", [](ReferenceProfile& p) { p.midSpectrum.push_back(0.0); }},
        {"side spectrum size differs", [](ReferenceProfile& p) { p.sideSpectrum.clear(); }},
        {"spectrum set count differs", [](ReferenceProfile& p) { p.spectrumSets.pop_back(); }},
        {"spectrum set FFT layout differs",
         [](ReferenceProfile& p) { p.spectrumSets[1].fftSize = 16; }},
        {"spectrum set mid size differs",
         [](ReferenceProfile& p) { p.spectrumSets[1].mid.pop_back(); }},
        {"spectrum set side size differs",
         [](ReferenceProfile& p) { p.spectrumSets[0].side.push_back(1.0); }},
        {"dynamics set count differs", [](ReferenceProfile& p) { p.dynamicsSets.clear(); }},
        {"dynamics set band layout differs",
         [](ReferenceProfile& p) { p.dynamicsSets[1].bandCount = 6; }},
        {"dynamics set RMS vector size differs",
         [](ReferenceProfile& p) { p.dynamicsSets[0].bandRms.push_back(0.1); }},
        // Two differences: the earlier test in the list is reported.
        {"sampleRate differs",
         [](ReferenceProfile& p)
         {
             p.dynamicsSets.clear();
             p.sampleRate = 1;
         }},
    };
    for (const Case& c : cases)
    {
        ReferenceProfile other = MakeProfile(0.2);
        c.change(other);
        EXPECT_EQ(MergeError({{MakeProfile(0.1), 1.0}, {other, 1.0}}),
                  std::string("Profile merge incompatibility at input 1: ") + c.reason);
    }
}

TEST(ProfileMergeTest, WeightsMustBeFiniteAndPositive)
{
    const ReferenceProfile p = MakeProfile(0.1);
    const std::string weightText = "Profile merge weight must be > 0";
    EXPECT_EQ(MergeError({}), "Profile merge requires at least one input profile");
    for (double weight : {0.0, -1.0, std::nan(""), std::numeric_limits<double>::infinity()})
    {
        EXPECT_EQ(MergeError({{p, 1.0}, {p, 1.0}, {p, weight}}), weightText) << weight;
        EXPECT_EQ(MergeError({{p, weight}}), weightText) << weight;
    }

    // Inputs are checked in order: input 1 fails its comparison before input 2's weight.
    ReferenceProfile other = p;
    other.fftSize = 8;
    EXPECT_EQ(MergeError({{p, 1.0}, {other, 1.0}, {p, 0.0}}),
              "Profile merge incompatibility at input 1: fftSize differs");
}

TEST(ProfileMergeTest, HugeFiniteWeightsKeepTheirRatio)
{
    const double big = std::numeric_limits<double>::max();
    const ReferenceProfile merged =
        MergeReferenceProfiles({{MakeProfile(0.1), big}, {MakeProfile(0.3), big}}, "", "");
    EXPECT_DOUBLE_EQ(merged.referenceMatchRms, 0.2) << "the sum of the weights overflowed";
    EXPECT_TRUE(std::isfinite(merged.midSpectrum[0]));
}

TEST(ProfileMergeTest, FilesAreReadInOrderAndReadErrorsPassThrough)
{
    TempDir dir;
    const std::wstring a = dir.Path().wstring() + L"/a.prs";
    const std::wstring b = dir.Path().wstring() + L"/b.prs";
    WriteReferenceProfile(a, MakeProfile(0.1));
    WriteReferenceProfile(b, MakeProfile(0.3));

    const ReferenceProfile merged = MergeReferenceProfileFiles({{a, 3.0}, {b, 1.0}}, "", "");
    EXPECT_DOUBLE_EQ(merged.referenceMatchRms, (3.0 * 0.1 + 0.3) / 4.0);

    try
    {
        MergeReferenceProfileFiles({{a, 1.0}, {dir.Path().wstring() + L"/missing.prs", 1.0}}, "",
                                   "");
        FAIL() << "a missing file was merged";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), "Cannot open profile for reading");
    }
}
