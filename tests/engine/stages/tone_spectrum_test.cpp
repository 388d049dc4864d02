#include "engine/stages/tone_spectrum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace
{

const double kPi = std::acos(-1.0);

TEST(AverageSpectrum, ASineOnABinReadsHalfTheFrameTimesItsAmplitudeAveragedOverFrames)
{
    // Three pieces of one 64-sample frame and 5 samples that no frame uses; the
    // amplitudes 0.2, 0.4 and 0.9 average to 0.5. An odd frame count also
    // exercises the frame that shares its transform with nothing.
    const int n = 64;
    const int pieceLength = n + 5;
    const double amplitudes[] = {0.2, 0.4, 0.9};
    const int bin = 5;
    std::vector<double> signal;
    for (double amplitude : amplitudes)
    {
        for (int t = 0; t < pieceLength; ++t)
        {
            signal.push_back(0.25 + amplitude * std::cos(2.0 * kPi * bin * t / n));
        }
    }
    const std::vector<double> spectrum = AverageSpectrum(signal, 3, pieceLength, n);
    ASSERT_EQ(spectrum.size(), static_cast<std::size_t>(n / 2 + 1));
    EXPECT_NEAR(spectrum[0], 0.25 * n, 1e-12) << "DC reads n times its level";
    EXPECT_NEAR(spectrum[bin], 0.5 * n / 2, 1e-12);
    for (int k = 1; k <= n / 2; ++k)
    {
        if (k != bin)
        {
            EXPECT_NEAR(spectrum[k], 0.0, 1e-12) << "bin " << k;
        }
    }
}

TEST(AverageSpectrum, PairedFramesReadAsIfTransformedAlone)
{
    // Two frames in one transform: a cosine at bin 3 and a sine at bin 7.
    const int n = 32;
    std::vector<double> signal(2 * n);
    for (int t = 0; t < n; ++t)
    {
        signal[t] = std::cos(2.0 * kPi * 3 * t / n);
        signal[n + t] = 2.0 * std::sin(2.0 * kPi * 7 * t / n);
    }
    const std::vector<double> spectrum = AverageSpectrum(signal, 1, 2 * n, n);
    EXPECT_NEAR(spectrum[3], 0.5 * n / 2, 1e-12);
    EXPECT_NEAR(spectrum[7], 0.5 * n, 1e-12);
    EXPECT_NEAR(spectrum[5], 0.0, 1e-12);
}

TEST(AverageSpectrum, NoWholeFrameGivesZeros)
{
    const std::vector<double> shortSignal(10, 1.0);
    EXPECT_EQ(AverageSpectrum(shortSignal, 1, 10, 16), std::vector<double>(9, 0.0));
    EXPECT_TRUE(AverageSpectrum(shortSignal, 1, 10, 0).empty());
}

TEST(SmoothSpectrum, AFlatCurveStaysFlatWithBinZeroCleared)
{
    const std::vector<double> flat(2049, 1.0);
    const std::vector<double> smoothed = SmoothSpectrum(flat, 48000, 4096, 6, 1e-6);
    ASSERT_EQ(smoothed.size(), flat.size());
    EXPECT_EQ(smoothed[0], 0.0);
    for (std::size_t k = 1; k < smoothed.size(); ++k)
    {
        ASSERT_EQ(smoothed[k], 1.0) << "bin " << k;
    }
}

TEST(SmoothSpectrum, ReturnsItsInputWhenThereIsNothingToSmooth)
{
    const std::vector<double> curve = {0.5, 2.0, 3.0};
    EXPECT_EQ(SmoothSpectrum(curve, 48000, 4, 0, 1e-6), curve) << "denominator 0";
    EXPECT_EQ(SmoothSpectrum({0.5, 2.0}, 48000, 2, 6, 1e-6), (std::vector<double>{0.5, 2.0}))
        << "fftSize 2";
}

TEST(SmoothSpectrum, AveragesInDecibelsOverAFractionOfAnOctave)
{
    // A +12 dB step at 1 kHz: one octave away the step is untouched, at the
    // step itself the smoothed level lies between the two sides.
    const int n = 4096;
    const int rate = 48000;
    std::vector<double> curve(n / 2 + 1);
    for (int k = 0; k <= n / 2; ++k)
    {
        curve[k] = k * rate / double(n) < 1000.0 ? 1.0 : 4.0;
    }
    const std::vector<double> smoothed = SmoothSpectrum(curve, rate, n, 3, 1e-6);
    const int stepBin = static_cast<int>(std::ceil(1000.0 * n / rate));
    EXPECT_DOUBLE_EQ(smoothed[stepBin / 2], 1.0);
    EXPECT_DOUBLE_EQ(smoothed[stepBin * 2], 4.0);
    EXPECT_GT(smoothed[stepBin], 1.5);
    EXPECT_LT(smoothed[stepBin], 3.0);
}

TEST(SmoothSpectrum, AZeroOrNaNBinIsFlooredAndDoesNotSpread)
{
    std::vector<double> curve(2049, 1.0);
    curve[1000] = std::numeric_limits<double>::quiet_NaN();
    curve[1500] = 0.0;
    const std::vector<double> smoothed = SmoothSpectrum(curve, 48000, 4096, 6, 1e-6);
    for (std::size_t k = 2; k < smoothed.size(); ++k)
    {
        ASSERT_TRUE(std::isfinite(smoothed[k])) << "bin " << k;
        ASSERT_GT(smoothed[k], 1e-6) << "bin " << k;
    }
    EXPECT_LT(smoothed[1000], 0.99) << "a floored bin pulls its neighbourhood down";
}

TEST(PsychoacousticExponent, FollowsAWeighting)
{
    // fftSize = rate puts bin k at k Hz; a curve of 2 reads back its exponent.
    const int n = 32768;
    std::vector<double> curve(n / 2 + 1, 2.0);
    PsychoacousticExponent(curve, n, n, 1e-6);
    const struct
    {
        int hz;
        double exponent;
    } expected[] = {{20, 0.35}, {50, 0.35}, {200, 0.62}, {1000, 0.94}, {2500, 0.98}, {10000, 0.87}};
    for (const auto& e : expected)
    {
        EXPECT_NEAR(std::log2(curve[e.hz]), e.exponent, 0.01) << e.hz << " Hz";
    }
    EXPECT_EQ(curve[0], 2.0) << "bin 0 is left alone";
}

TEST(SpectralDistance, IsTheRmsOfTheLevelDifferenceInDb)
{
    EXPECT_NEAR(SpectralDistance({2.0, 2.0, 2.0}, {1.0, 1.0, 1.0}, 1e-6), 20.0 * std::log10(2.0),
                1e-12);
    EXPECT_NEAR(SpectralDistance({1.0, 10.0}, {1.0, 1.0}, 1e-6), std::sqrt(200.0), 1e-12);
    EXPECT_EQ(SpectralDistance({1.0, 2.0}, {1.0}, 1e-6), 0.0) << "sizes differ";
    EXPECT_EQ(SpectralDistance({}, {}, 1e-6), 0.0);
    EXPECT_EQ(SpectralDistance({0.0, 1e-9}, {1e-6, 1e-7}, 1e-6), 0.0) << "both floored";
}

} // namespace
