#include "profiles/profile_description.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace
{

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kLargestInt = std::numeric_limits<int>::max();
constexpr std::size_t kNoEnd = std::numeric_limits<std::size_t>::max();

// An FFT size equal to the rate puts bin i at i Hz.
constexpr int kRate = 10000;
constexpr std::size_t kBins = kRate / 2 + 1;

// A mid spectrum with one level per tonal band: sub 1..69 Hz, bass 70..179,
// low mid 180..499, mid 500..3999, top 4000 Hz up. Bin 0 is far off to show
// it is never read. Levels are exact in binary, so the band means are exact.
ReferenceProfile Tonal(double sub, double bass, double lowMid, double mid, double top)
{
    ReferenceProfile profile;
    profile.sampleRate = kRate;
    profile.fftSize = kRate;
    profile.midSpectrum.resize(kBins);
    for (std::size_t hz = 0; hz < kBins; ++hz)
        profile.midSpectrum[hz] = hz == 0     ? 90.0
                                  : hz < 70   ? sub
                                  : hz < 180  ? bass
                                  : hz < 500  ? lowMid
                                  : hz < 4000 ? mid
                                              : top;
    return profile;
}

// A flat mid spectrum at 0 dB and a side spectrum whose level (so side minus
// mid) is lowDb over 20..179 Hz, midDb over 350..2399 Hz and highDb from 2400 Hz.
ReferenceProfile Stereo(double lowDb, double midDb, double highDb)
{
    ReferenceProfile profile;
    profile.sampleRate = kRate;
    profile.fftSize = kRate;
    profile.midSpectrum.assign(kBins, 0.0);
    profile.sideSpectrum.assign(kBins, 0.0);
    for (std::size_t hz = 0; hz < kBins; ++hz)
        profile.sideSpectrum[hz] = hz >= 2400  ? highDb
                                   : hz >= 350 ? midDb
                                   : hz >= 180 ? 40.0 // in no region
                                   : hz >= 20  ? lowDb
                                               : 40.0;
    return profile;
}

ReferenceProfile Loudness(bool hasIntegratedLufs, double integratedLufs, double loudnessRange)
{
    ReferenceProfile profile;
    profile.hasIntegratedLufs = hasIntegratedLufs;
    profile.integratedLufs = integratedLufs;
    profile.loudnessRange = loudnessRange;
    return profile;
}

TEST(DescribeProfile, EmptyProfileReadsBalancedOpenAndModerate)
{
    EXPECT_EQ(DescribeProfile(ReferenceProfile{}),
              L"balanced tonal profile. open upper stereo field and wider low-band spread. "
              L"moderate loudness intent.");
}

TEST(DescribeTonalBalance, EachGroupTakesItsFirstMatchingRow)
{
    const struct
    {
        double sub, bass, lowMid, mid, top;
        const wchar_t* expected;
    } cases[] = {
        {0, 0, 0, 0, 0, L"even low-end balance, controlled top balance, balanced midrange"},
        // Low end L = (sub + bass) / 2 - mid.
        {5.5, 5.5, 0, 0, 0, L"bass-heavy, controlled top balance, balanced midrange"},
        {5.25, 5.25, 0, 0, 0, L"bass-weighted, controlled top balance, balanced midrange"},
        {3, 3, 0, 0, 0, L"bass-weighted, controlled top balance, balanced midrange"},
        {2.75, 2.75, 0, 0, 0, L"even low-end balance, controlled top balance, balanced midrange"},
        {-3.5, -3.5, 0, 0, 0, L"lean low end, controlled top balance, balanced midrange"},
        {-3.25, -3.25, 0, 0, 0, L"even low-end balance, controlled top balance, balanced midrange"},
        // Suffix S = sub - bass; the upper-bass push needs L above 1.
        {2.5, 0, 0, 0, 0,
         L"even low-end balance with stronger sub emphasis, controlled top balance, balanced "
         L"midrange"},
        {8, 5.5, 0, 0, 0,
         L"bass-heavy with stronger sub emphasis, controlled top balance, balanced midrange"},
        {0, 2.5, 0, 0, 0,
         L"even low-end balance with more upper-bass push, controlled top balance, balanced "
         L"midrange"},
        {-0.25, 2.25, 0, 0, 0, L"even low-end balance, controlled top balance, balanced midrange"},
        {2.25, 0, 0, 0, 0, L"even low-end balance, controlled top balance, balanced midrange"},
        // Top T = top - (mid + lowMid) / 2.
        {0, 0, 0, 0, 5, L"even low-end balance, bright extended top, balanced midrange"},
        {0, 0, 0, 0, 4.75, L"even low-end balance, open top balance, balanced midrange"},
        {0, 0, 0, 0, 2, L"even low-end balance, open top balance, balanced midrange"},
        {0, 0, 0, 0, 1.75, L"even low-end balance, controlled top balance, balanced midrange"},
        {0, 0, 0, 0, -5, L"even low-end balance, dark top balance, balanced midrange"},
        {0, 0, 0, 0, -4.75, L"even low-end balance, darker top balance, balanced midrange"},
        {0, 0, 0, 0, -2, L"even low-end balance, darker top balance, balanced midrange"},
        {0, 0, 0, 0, -1.75, L"even low-end balance, controlled top balance, balanced midrange"},
        // Upper mids U = mid - lowMid (the low mid also moves T).
        {0, 0, -2.5, 0, 0, L"even low-end balance, controlled top balance, forward upper mids"},
        {0, 0, -2.25, 0, 0, L"even low-end balance, controlled top balance, balanced midrange"},
        {0, 0, 2.5, 0, 0,
         L"even low-end balance, controlled top balance, softer upper-mid presence"},
        {0, 0, 2.25, 0, 0, L"even low-end balance, controlled top balance, balanced midrange"},
        // All groups at once: L = 6, S = -4, T = -6, U = 3.
        {4, 8, -3, 0, -7.5,
         L"bass-heavy with more upper-bass push, dark top balance, forward upper mids"},
    };
    for (const auto& c : cases)
    {
        const ReferenceProfile profile = Tonal(c.sub, c.bass, c.lowMid, c.mid, c.top);
        EXPECT_EQ(DescribeTonalBalance(profile), c.expected)
            << "sub " << c.sub << " bass " << c.bass << " low mid " << c.lowMid << " mid " << c.mid
            << " top " << c.top;
    }
}

TEST(DescribeProfile, StereoPhraseFollowsSideMinusMidPerRegion)
{
    const struct
    {
        double lowDb, midDb, highDb;
        const wchar_t* expected;
    } cases[] = {
        {-7, 0, -2, L"open upper stereo field"},
        {-7, 0, -2.25, L"moderately open stereo field"},
        {-7, 0, -5, L"moderately open stereo field"},
        {-7, 0, -5.25, L"focused stereo field"},
        {-10, 0, 0, L"open upper stereo field with tight low-end mono control"},
        {-9.75, 0, 0, L"open upper stereo field"},
        {-5, 0, 0, L"open upper stereo field and wider low-band spread"},
        {-5.25, 0, 0, L"open upper stereo field"},
        {-7, -8, 0, L"open upper stereo field, center-held mids"},
        {-7, -7.75, 0, L"open upper stereo field"},
        {-12, -9, -6, L"focused stereo field with tight low-end mono control, center-held mids"},
        {0, -20, -3, L"moderately open stereo field and wider low-band spread, center-held mids"},
    };
    for (const auto& c : cases)
    {
        const std::wstring expected =
            std::wstring(L"even low-end balance, controlled top balance, balanced midrange. ") +
            c.expected + L". moderate loudness intent.";
        EXPECT_EQ(DescribeProfile(Stereo(c.lowDb, c.midDb, c.highDb)), expected)
            << "low " << c.lowDb << " mid " << c.midDb << " high " << c.highDb;
    }
}

TEST(DescribeProfile, LoudnessPhraseFollowsIntegratedLoudnessAndRange)
{
    const struct
    {
        bool hasIntegratedLufs;
        double integratedLufs, loudnessRange;
        const wchar_t* expected;
    } cases[] = {
        {false, -9.5, 0, L"moderate loudness intent"},
        {true, -9.5, 0, L"loud modern density"},
        {true, -9.75, 0, L"forward competitive density"},
        {true, -12.5, 0, L"forward competitive density"},
        {true, -12.75, 0, L"controlled loudness with retained dynamics"},
        {true, -15.5, 0, L"controlled loudness with retained dynamics"},
        {true, -15.75, 0, L"conservative loudness with headroom"},
        {true, -60, 0, L"conservative loudness with headroom"},
        {false, 0, 5, L"moderate loudness intent, tight dynamic control"},
        {false, 0, 0.25, L"moderate loudness intent, tight dynamic control"},
        {false, 0, 5.25, L"moderate loudness intent"},
        {false, 0, 8.75, L"moderate loudness intent"},
        {false, 0, 9, L"moderate loudness intent, broad macro dynamics"},
        {false, 0, -1, L"moderate loudness intent"},
        {true, -8, 12, L"loud modern density, broad macro dynamics"},
        {true, kNaN, kNaN, L"conservative loudness with headroom"},
    };
    for (const auto& c : cases)
    {
        const std::wstring expected =
            std::wstring(L"balanced tonal profile. open upper stereo field and wider low-band "
                         L"spread. ") +
            c.expected + L".";
        EXPECT_EQ(DescribeProfile(Loudness(c.hasIntegratedLufs, c.integratedLufs, c.loudnessRange)),
                  expected)
            << "has " << c.hasIntegratedLufs << " LUFS " << c.integratedLufs << " LRA "
            << c.loudnessRange;
    }
}

TEST(DescribeProfile, MissingRateOrSizePutsEveryBoundaryAtBinZero)
{
    for (const auto& [rate, fftSize] :
         {std::pair{0, kRate}, std::pair{kRate, 0}, std::pair{-kRate, kRate}, std::pair{0, 0}})
    {
        // Only the top band (the whole spectrum from bin 0) is read: T = its mean.
        ReferenceProfile profile = Tonal(9, 9, 9, 9, 9);
        profile.sampleRate = rate;
        profile.fftSize = fftSize;
        profile.midSpectrum[0] = -9.0 * static_cast<double>(kBins - 1) + 6.0 * kBins;
        EXPECT_EQ(DescribeTonalBalance(profile),
                  L"even low-end balance, bright extended top, balanced midrange")
            << "rate " << rate << " FFT size " << fftSize;
        EXPECT_EQ(FrequencyToBin(profile, 4000.0), 0u);

        // Bounded regions are empty; the open one is the whole of both spectra.
        profile.sideSpectrum.assign(kBins, 0.0);
        EXPECT_EQ(SideMinusMidDb(profile, 20.0, 180.0), 0.0);
        EXPECT_DOUBLE_EQ(SideMinusMidDb(profile, 2400.0, 0.0), -6.0);
    }
}

TEST(SideMinusMidDb, AveragesEachSpectrumOverTheBinsItHolds)
{
    ReferenceProfile profile = Stereo(-6, -12, -3);
    profile.sideSpectrum.resize(1000); // up to 999 Hz
    EXPECT_EQ(SideMinusMidDb(profile, 350.0, 2400.0), -12.0)
        << "the missing side bins must not count as 0 dB";
    EXPECT_EQ(SideMinusMidDb(profile, 20.0, 180.0), -6.0);
    EXPECT_EQ(SideMinusMidDb(profile, 2400.0, 0.0), 0.0) << "no side bins above 2400 Hz";
    EXPECT_EQ(DescribeProfile(profile),
              L"even low-end balance, controlled top balance, balanced midrange. "
              L"open upper stereo field, center-held mids. moderate loudness intent.");

    // The open region ends at the mid spectrum's end, also for a longer side.
    ReferenceProfile longSide = Stereo(0, 0, -4);
    longSide.midSpectrum.resize(3000);
    for (std::size_t hz = 3000; hz < kBins; ++hz)
        longSide.sideSpectrum[hz] = 50.0;
    EXPECT_EQ(SideMinusMidDb(longSide, 2400.0, 0.0), -4.0);

    ReferenceProfile noSide = Stereo(-20, -20, -20);
    noSide.sideSpectrum.clear();
    EXPECT_EQ(SideMinusMidDb(noSide, 20.0, 180.0), 0.0);
    ReferenceProfile noMid = Stereo(-20, -20, -20);
    noMid.midSpectrum.clear();
    EXPECT_EQ(SideMinusMidDb(noMid, 20.0, 180.0), 0.0);
}

TEST(FrequencyToBin, FloorsAndStaysInsideTheUnsignedRange)
{
    const struct
    {
        int sampleRate, fftSize;
        double frequencyHz;
        std::uint32_t expected;
    } cases[] = {
        {44100, 4096, 1000.0, 92}, // 92.88
        {44100, 4096, 70.0, 6},    // 6.50
        {kRate, kRate, 180.0, 180},
        {kRate, kRate, -50.0, 0},
        {kRate, kRate, kNaN, 0},
        {0, 4096, 1000.0, 0},
        {44100, 0, 1000.0, 0},
        {-44100, 4096, 1000.0, 0},
        {44100, -4096, 1000.0, 0},
        // A damaged header the reader accepts: 4000 * (2^31 - 1) is past 2^32.
        {1, kLargestInt, 4000.0, 4294967295u},
        {1, kLargestInt, 2.0, 4294967294u},
        {kLargestInt, 1, 4000.0, 0},
    };
    for (const auto& c : cases)
    {
        ReferenceProfile profile;
        profile.sampleRate = c.sampleRate;
        profile.fftSize = c.fftSize;
        EXPECT_EQ(FrequencyToBin(profile, c.frequencyHz), c.expected)
            << c.frequencyHz << " Hz at rate " << c.sampleRate << ", FFT size " << c.fftSize;
    }
}

TEST(MeanOfRange, MeansTheClippedRangeAndIsZeroWhenItIsEmpty)
{
    const std::vector<double> values = {1.0, 2.0, 3.0, 4.0, 6.0};
    EXPECT_EQ(MeanOfRange(values, 0, 5), 3.2);
    EXPECT_EQ(MeanOfRange(values, 1, 3), 2.5);
    EXPECT_EQ(MeanOfRange(values, 3, 99), 5.0) << "the end clipped to the list";
    EXPECT_EQ(MeanOfRange(values, 4, kNoEnd), 6.0);
    EXPECT_EQ(MeanOfRange(values, 3, 2), 0.0) << "reversed";
    EXPECT_EQ(MeanOfRange(values, 2, 2), 0.0);
    EXPECT_EQ(MeanOfRange(values, 5, 9), 0.0) << "starting past the end";
    EXPECT_EQ(MeanOfRange(values, kNoEnd, kNoEnd), 0.0);
    EXPECT_EQ(MeanOfRange(std::vector<double>{}, 0, 4), 0.0);
}

TEST(DescribeProfile, BadProfilesDescribeWithoutFailing)
{
    // Not-a-number levels match no threshold and fall to the last rows.
    ReferenceProfile nanLevels = Tonal(kNaN, kNaN, kNaN, kNaN, kNaN);
    nanLevels.sideSpectrum.assign(kBins, kNaN);
    EXPECT_EQ(DescribeProfile(nanLevels),
              L"even low-end balance, controlled top balance, balanced midrange. "
              L"focused stereo field. moderate loudness intent.");

    // The damaged header puts every boundary past the end of a short spectrum.
    ReferenceProfile damaged;
    damaged.sampleRate = 1;
    damaged.fftSize = kLargestInt;
    damaged.midSpectrum = {0.0, -8.0, -8.0};
    damaged.sideSpectrum = {0.0};
    EXPECT_EQ(DescribeProfile(damaged),
              L"lean low end, controlled top balance, balanced midrange. open upper stereo "
              L"field and wider low-band spread. moderate loudness intent.");

    const std::vector<std::vector<double>> spectra = {
        {}, {-3.0}, {kNaN, 1.0}, std::vector<double>(70000, -20.0)};
    for (const int rate : {0, -1, 1, 44100, kLargestInt})
        for (const int fftSize : {0, -1, 1, 4096, kLargestInt})
            for (const auto& mid : spectra)
                for (const auto& side : spectra)
                {
                    ReferenceProfile profile;
                    profile.sampleRate = rate;
                    profile.fftSize = fftSize;
                    profile.midSpectrum = mid;
                    profile.sideSpectrum = side;
                    const std::wstring text = DescribeProfile(profile);
                    ASSERT_EQ(text.back(), L'.') << "rate " << rate << " FFT size " << fftSize;
                }
}

} // namespace
