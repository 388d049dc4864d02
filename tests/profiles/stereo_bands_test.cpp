#include "profiles/stereo_bands.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <limits>
#include <utility>
#include <vector>

namespace
{

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kLargestInt = std::numeric_limits<int>::max();

constexpr int kRate = 44100;
constexpr int kFftSize = 4096;
constexpr std::size_t kBins = kFftSize / 2 + 1;

// The logistic of side minus mid at equal levels and 12 dB apart.
const double kEqualWidth = 1.0 / (1.0 + std::exp(-1.0));
const double kTwelveBelowWidth = 1.0 / (1.0 + std::exp(1.0));

using Widths = std::array<double, kStereoBandCount>;

std::vector<double> Offset(const std::vector<double>& spectrum, double offsetDb)
{
    std::vector<double> out = spectrum;
    for (double& value : out)
        value += offsetDb;
    return out;
}

// A mid spectrum that is not flat, so that only the difference can matter.
std::vector<double> Mid(std::size_t bins)
{
    std::vector<double> mid(bins);
    for (std::size_t i = 0; i < bins; ++i)
        mid[i] = -20.0 - 30.0 * static_cast<double>(i) / static_cast<double>(bins);
    return mid;
}

TEST(StereoBands, TableHoldsTheSixBandsInOrder)
{
    const wchar_t* const names[] = {L"Sub", L"Bass", L"Low Mid", L"Mid", L"Presence", L"Air"};
    const COLORREF colours[] = {0xEC8E58, 0xDCB654, 0x9AC470, 0x60BAD6, 0x5C9AE8, 0x707AE6};
    for (std::size_t b = 0; b < kStereoBandCount; ++b)
    {
        EXPECT_STREQ(kStereoBands[b].name, names[b]);
        EXPECT_EQ(kStereoBands[b].baseColor, colours[b]) << "band " << b;
        if (b > 0)
        {
            EXPECT_EQ(kStereoBands[b].fromHz, kStereoBands[b - 1].toHz) << "bands meet at " << b;
        }
    }
    EXPECT_EQ(kStereoBands.front().fromHz, 20.0);
    EXPECT_EQ(kStereoBands.back().toHz, 16000.0);
}

TEST(StereoBandWidths, SideLevelRelativeToMidSetsEveryPopulatedBand)
{
    const std::vector<double> mid = Mid(kBins);
    const struct
    {
        double sideMinusMidDb;
        double width;
    } cases[] = {{0.0, kEqualWidth}, {-6.0, 0.5}, {-12.0, kTwelveBelowWidth}};
    for (const auto& c : cases)
    {
        const Widths widths = StereoBandWidths(kRate, kFftSize, mid, Offset(mid, c.sideMinusMidDb));
        for (std::size_t b = 0; b < kStereoBandCount; ++b)
            EXPECT_NEAR(widths[b], c.width, 1e-12)
                << "band " << b << " with the side " << c.sideMinusMidDb << " dB from the mid";
    }
    EXPECT_NEAR(kEqualWidth, 0.73, 0.005);
    EXPECT_NEAR(kTwelveBelowWidth, 0.27, 0.005);
}

TEST(StereoBandWidths, EachBinCountsInTheBandItsFrequencyFallsIn)
{
    // One wide bin among mono ones shows which band takes it. An FFT size
    // equal to the rate puts bin j at j Hz; at 44.1 kHz / 4096 it lies at
    // j * 10.77 Hz.
    const struct
    {
        int fftSize;
        std::size_t bin;
        int band; // -1: none
    } cases[] = {
        {kFftSize, 1, -1},                    // 10.8 Hz
        {kFftSize, 2, 0},                     // 21.5 Hz
        {kFftSize, 5, 0},                     // 53.8 Hz
        {kFftSize, 6, 1},                     // 64.6 Hz
        {kFftSize, 13, 1},                    // 139.97 Hz
        {kFftSize, 14, 2},                    // 150.7 Hz
        {kFftSize, 1486, 5},                  // 15998 Hz
        {kFftSize, 1487, -1},                 // 16009 Hz, above the top band
        {kRate, 19, -1},      {kRate, 20, 0}, // a lower edge belongs to its band
        {kRate, 140, 2},      {kRate, 4999, 4},   {kRate, 5000, 5},
        {kRate, 15999, 5},    {kRate, 16000, -1},
    };
    for (const auto& c : cases)
    {
        const std::size_t bins = static_cast<std::size_t>(c.fftSize / 2 + 1);
        const std::vector<double> mid(bins, -30.0);
        // Far enough apart that the logistic is exactly 0 or 1.
        std::vector<double> side(bins, -1e4);
        side[c.bin] = 1e4;
        const Widths widths = StereoBandWidths(kRate, c.fftSize, mid, side);
        for (int b = 0; b < static_cast<int>(kStereoBandCount); ++b)
            EXPECT_EQ(widths[b] > 0.0, b == c.band)
                << "bin " << c.bin << " of FFT size " << c.fftSize << ", band " << b;
    }

    // "Sub" holds bins 2 to 5 exactly: all four wide gives a full-width band.
    const std::vector<double> mid(kBins, -30.0);
    std::vector<double> side(kBins, -1e4);
    for (std::size_t j = 1; j <= 5; ++j)
        side[j] = 1e4;
    const Widths widths = StereoBandWidths(kRate, kFftSize, mid, side);
    EXPECT_EQ(widths[0], 1.0);
    EXPECT_EQ(widths[1], 0.0);
}

TEST(StereoBandWidths, BandsWithoutBinsAreZero)
{
    // At 8 kHz nothing reaches 5 kHz: "Air" is empty.
    const std::vector<double> mid = Mid(kBins);
    const Widths widths = StereoBandWidths(8000, kFftSize, mid, mid);
    for (std::size_t b = 0; b < 5; ++b)
        EXPECT_NEAR(widths[b], kEqualWidth, 1e-12) << "band " << b;
    EXPECT_EQ(widths[5], 0.0);

    // Too few bins to reach the "Sub" band at all (bin 1 is 22050 Hz).
    const std::vector<double> twoBins = {0.0, 0.0};
    const Widths two = StereoBandWidths(kRate, 2, twoBins, twoBins);
    EXPECT_EQ(two, Widths{});

    const std::vector<double> one = {0.0};
    for (const auto& [m, s] : {std::pair{mid, one}, std::pair{one, mid}, std::pair{one, one},
                               std::pair{mid, std::vector<double>{}}})
        EXPECT_EQ(StereoBandWidths(kRate, kFftSize, m, s), Widths{}) << "fewer than two bins";
}

TEST(StereoBandWidths, SpectraOfDifferentLengthsUseTheCommonBins)
{
    const std::vector<double> mid = Mid(kBins);
    std::vector<double> side = Offset(mid, -6.0);
    side.resize(1000); // up to 10.76 kHz
    const std::vector<double> common(mid.begin(), mid.begin() + 1000);
    const Widths expected = StereoBandWidths(kRate, kFftSize, common, side);
    EXPECT_EQ(StereoBandWidths(kRate, kFftSize, mid, side), expected) << "a longer mid";

    // Bins only the side holds would widen every band they reached.
    std::vector<double> longSide = side;
    longSide.resize(kBins, 500.0);
    EXPECT_EQ(StereoBandWidths(kRate, kFftSize, common, longSide), expected) << "a longer side";
    for (std::size_t b = 0; b < kStereoBandCount; ++b)
        EXPECT_NEAR(expected[b], 0.5, 1e-12) << "band " << b;
}

TEST(StereoBandWidths, MissingRateAndSizeFallBack)
{
    // 2049 bins of a 4096-point FFT: the fallback size is 2 * 2049 - 2.
    std::vector<double> mid = Mid(kBins);
    std::vector<double> side = mid;
    for (std::size_t j = 0; j < kBins; ++j)
        side[j] += static_cast<double>(j % 11) - 8.0;
    const Widths reference = StereoBandWidths(kRate, kFftSize, mid, side);
    for (const int rate : {0, -1, std::numeric_limits<int>::min()})
        EXPECT_EQ(StereoBandWidths(rate, kFftSize, mid, side), reference) << "rate " << rate;
    for (const int fftSize : {0, -4096})
        EXPECT_EQ(StereoBandWidths(kRate, fftSize, mid, side), reference) << "size " << fftSize;
    EXPECT_EQ(StereoBandWidths(0, 0, mid, side), reference);
    EXPECT_NE(StereoBandWidths(48000, kFftSize, mid, side), reference);
}

TEST(StereoBandWidths, BinsThatAreNotNumbersAreLeftOutAndWidthsStayInRange)
{
    const std::vector<double> mid(kBins, -30.0);
    std::vector<double> side = mid;
    side[3] = kNaN; // Sub
    side[8] = kInf; // Bass: side +inf is a full-width bin
    std::vector<double> midWithInf = mid;
    midWithInf[20] = kInf; // Low Mid: +inf in both is not a number
    side[20] = kInf;
    midWithInf[50] = kNaN; // Mid
    side[200] = -kInf;     // Presence: silence on the side is a mono bin
    const Widths widths = StereoBandWidths(kRate, kFftSize, midWithInf, side);

    const auto meanOf = [](std::initializer_list<double> values)
    {
        double sum = 0.0;
        for (const double v : values)
            sum += v;
        return sum / static_cast<double>(values.size());
    };
    EXPECT_NEAR(widths[0], kEqualWidth, 1e-12) << "the NaN bin left out of Sub";
    EXPECT_NEAR(widths[2], kEqualWidth, 1e-12) << "the +inf pair left out of Low Mid";
    EXPECT_NEAR(widths[3], kEqualWidth, 1e-12) << "the NaN mid bin left out of Mid";
    // Bass holds bins 6 to 13 and Presence 140 to 464.
    EXPECT_NEAR(widths[1],
                meanOf({1.0, kEqualWidth, kEqualWidth, kEqualWidth, kEqualWidth, kEqualWidth,
                        kEqualWidth, kEqualWidth}),
                1e-12);
    EXPECT_NEAR(widths[4], kEqualWidth * 324.0 / 325.0, 1e-12);

    // A band whose every bin is NaN has no bins left: 0.
    std::vector<double> nanSide = mid;
    for (std::size_t j = 2; j <= 5; ++j)
        nanSide[j] = kNaN;
    EXPECT_EQ(StereoBandWidths(kRate, kFftSize, mid, nanSide)[0], 0.0);

    const std::vector<std::vector<double>> odd = {
        std::vector<double>(kBins, kNaN), std::vector<double>(kBins, kInf),
        std::vector<double>(kBins, -kInf), std::vector<double>(kBins, 1e308),
        std::vector<double>(kBins, -1e308)};
    for (const int rate : {0, -1, 1, kRate, kLargestInt})
        for (const int fftSize : {0, -1, 1, kFftSize, kLargestInt})
            for (const auto& m : odd)
                for (const auto& s : odd)
                    for (const double width : StereoBandWidths(rate, fftSize, m, s))
                        ASSERT_TRUE(width >= 0.0 && width <= 1.0)
                            << "rate " << rate << " size " << fftSize << " mid " << m[0] << " side "
                            << s[0];
}

} // namespace
