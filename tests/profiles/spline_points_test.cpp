#include "profiles/spline_points.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

namespace
{

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kLargestInt = std::numeric_limits<int>::max();

struct AxisCase
{
    const char* what;
    std::size_t bin;
    std::size_t binCount;
    int sampleRate;
    int fftSize;
    double expected;
};

TEST(LogFrequencyAxis, PlacesBinsOnTheLogAxisFrom20HzToTheTop)
{
    const double ln1000 = std::log(1000.0 / 20.0);
    const AxisCase cases[] = {
        {"DC", 0, 2049, 44100, 4096, 0.0},
        {"10.8 Hz, below 20 Hz", 1, 2049, 44100, 4096, 0.0},
        // An FFT size equal to the rate puts bin i at i Hz.
        {"1000 Hz at 44.1 kHz", 1000, 22051, 44100, 44100, std::log(50.0) / std::log(1102.5)},
        {"the Nyquist bin", 2048, 2049, 44100, 4096, 1.0},
        {"a bin above the top", 3000, 3001, 44100, 4096, 1.0},
        {"one bin", 0, 1, 44100, 4096, 0.0},
        {"a bin of an empty spectrum", 5, 0, 44100, 4096, 0.0},
        {"one bin at its top", 2048, 1, 44100, 4096, 0.0},
        // Under 2000 Hz the top stays at 1000 Hz, above the Nyquist frequency.
        {"100 Hz at 1 kHz", 100, 1001, 1000, 1000, std::log(5.0) / ln1000},
        {"999 Hz at 1 kHz", 999, 1001, 1000, 1000, std::log(49.95) / ln1000},
        {"FFT size 3 kept", 1, 2, 1000, 3, std::log(1000.0 / 3.0 / 20.0) / ln1000},
        {"FFT size 2", 1, 2, 1000, 2, std::log(25.0) / ln1000},
        {"FFT size 1 as 2", 1, 2, 1000, 1, std::log(25.0) / ln1000},
        {"FFT size 0 as 2", 1, 2, 1000, 0, std::log(25.0) / ln1000},
        {"negative FFT size as 2", 1, 2, 1000, -7, std::log(25.0) / ln1000},
        {"rate 0", 100, 200, 0, 4096, 0.0},
        {"negative rate", 100, 200, -44100, 4096, 0.0},
        {"rate 1", 100, 200, 1, 4096, 0.0},
        {"largest rate and FFT size", 1, 2, kLargestInt, kLargestInt, 0.0},
        {"largest rate, small FFT size", 1, 2, kLargestInt, 4,
         std::log(kLargestInt / 4.0 / 20.0) / std::log(kLargestInt / 2.0 / 20.0)},
    };
    for (const AxisCase& c : cases)
        EXPECT_NEAR(LogFrequencyAxis(c.bin, c.binCount, c.sampleRate, c.fftSize), c.expected, 1e-12)
            << c.what;
}

TEST(EvaluateSplinePoints, PassesThroughEveryControlPoint)
{
    const std::vector<std::vector<double>> sets = {
        {3.0, -4.0},
        {0.0, 0.0, 18.0, 18.0, 0.0, 0.0},
        {-18.0, 7.5, 2.0, -1.0, 12.0, 4.0, -6.0, 9.0, 0.5, -3.0, 16.0},
    };
    for (const std::vector<double>& points : sets)
    {
        const double last = static_cast<double>(points.size() - 1);
        for (std::size_t j = 0; j < points.size(); ++j)
            EXPECT_NEAR(EvaluateSplinePoints(points, static_cast<double>(j) / last), points[j],
                        1e-9)
                << "point " << j << " of " << points.size();
    }
}

TEST(EvaluateSplinePoints, OvershootsBetweenRaisedPointsAndRepeatsTheEnds)
{
    const std::vector<double> raised = {0.0, 0.0, 18.0, 18.0, 0.0, 0.0};
    EXPECT_DOUBLE_EQ(EvaluateSplinePoints(raised, 0.5), 20.25)
        << "the spline between two equal raised points rises above them";

    // The repeated first point bends the first segment of a straight ramp:
    // halfway along it the spline reads 4.375 dB where the line reads 5.
    const std::vector<double> ramp = {0.0, 10.0, 20.0};
    EXPECT_DOUBLE_EQ(EvaluateSplinePoints(ramp, 0.25), 4.375);
    EXPECT_DOUBLE_EQ(EvaluateSplinePoints(ramp, 0.5), 10.0);
}

TEST(EvaluateSplinePoints, FewPointsAndPositionsOffTheAxis)
{
    const std::vector<double> none;
    const std::vector<double> one = {-7.0};
    const std::vector<double> three = {4.0, -2.0, 9.0};
    for (const double x : {0.0, 0.3, 1.0, -1.0, 2.0, kNaN, kInf, -kInf})
    {
        EXPECT_EQ(EvaluateSplinePoints(none, x), 0.0) << "no points at x " << x;
        EXPECT_EQ(EvaluateSplinePoints(one, x), -7.0) << "one point at x " << x;
    }
    EXPECT_EQ(EvaluateSplinePoints(three, -1.0), 4.0) << "x below the axis reads its start";
    EXPECT_EQ(EvaluateSplinePoints(three, kNaN), 4.0) << "x NaN reads the axis start";
    EXPECT_EQ(EvaluateSplinePoints(three, -kInf), 4.0);
    EXPECT_EQ(EvaluateSplinePoints(three, 2.0), 9.0) << "x above the axis reads its end";
    EXPECT_EQ(EvaluateSplinePoints(three, kInf), 9.0);

    std::vector<double> many(100000);
    for (std::size_t i = 0; i < many.size(); ++i)
        many[i] = static_cast<double>(i % 37) - 18.0;
    for (const double x : {0.0, 1e-9, 0.5, 0.999999999, 1.0, 2.0, kNaN})
        EXPECT_TRUE(std::isfinite(EvaluateSplinePoints(many, x))) << "x " << x;
    EXPECT_EQ(EvaluateSplinePoints(many, 1.0), many.back());
}

TEST(ResampleSplinePoints, InterpolatesLinearlyToAtLeastFourPoints)
{
    const std::vector<double> six = {0.0, 6.0, 12.0, 12.0, 6.0, 0.0};
    const std::vector<double> four = ResampleSplinePoints(six, 4);
    ASSERT_EQ(four.size(), 4u);
    EXPECT_DOUBLE_EQ(four[0], 0.0);
    EXPECT_DOUBLE_EQ(four[1], 10.0);
    EXPECT_DOUBLE_EQ(four[2], 10.0);
    EXPECT_DOUBLE_EQ(four[3], 0.0);

    const std::vector<double> sixteen = ResampleSplinePoints(six, 16);
    ASSERT_EQ(sixteen.size(), 16u);
    EXPECT_EQ(sixteen.front(), 0.0);
    EXPECT_EQ(sixteen.back(), 0.0);
    EXPECT_DOUBLE_EQ(sixteen[3], 6.0) << "3/15 of the way is point 1 itself";
    EXPECT_DOUBLE_EQ(sixteen[6], 12.0) << "6/15 of the way is point 2 itself";

    EXPECT_EQ(ResampleSplinePoints(six, 6), six) << "the same count keeps the points";
    for (const int n : {3, 2, 1, 0, -5, std::numeric_limits<int>::min()})
        EXPECT_EQ(ResampleSplinePoints(six, n).size(), 4u) << "n " << n;
    EXPECT_EQ(ResampleSplinePoints(std::vector<double>{}, 5), std::vector<double>(5, 0.0));
    EXPECT_EQ(ResampleSplinePoints(std::vector<double>{-3.0}, -5), std::vector<double>(4, -3.0));

    const std::vector<double> many(100000, 2.5);
    EXPECT_EQ(ResampleSplinePoints(many, 8), std::vector<double>(8, 2.5));
}

// An FFT size equal to the rate puts bin i at i Hz.
constexpr int kRate = 44100;
constexpr std::size_t kBins = kRate / 2 + 1;

TEST(AddSplineCorrection, TiltRunsFromMinusToPlusAcrossTheAxis)
{
    const std::vector<double> flat(6, 0.0);
    std::vector<double> spectrum(kBins, -30.0);
    AddSplineCorrection(spectrum, flat, kRate, kRate, 1.0, 6.0);
    for (std::size_t hz = 0; hz <= 20; ++hz)
        EXPECT_DOUBLE_EQ(spectrum[hz], -36.0) << hz << " Hz is at the bottom of the axis";
    EXPECT_DOUBLE_EQ(spectrum.back(), -24.0) << "half the rate is at the top of the axis";
    // The middle of the axis is the geometric mean of 20 Hz and 22050 Hz, 664.08 Hz.
    EXPECT_NEAR(spectrum[664], -30.0, 1e-3);
    EXPECT_LT(spectrum[663], -30.0);
    EXPECT_GT(spectrum[665], -30.0);

    // At 8 kHz the top is 4000 Hz, the Nyquist bin of a 4096-point FFT.
    std::vector<double> low(2049, 0.0);
    AddSplineCorrection(low, flat, 8000, 4096, 1.0, 6.0);
    EXPECT_DOUBLE_EQ(low.back(), 6.0);
}

TEST(AddSplineCorrection, ContourScalesTheUnclampedSpline)
{
    const std::vector<double> raised = {0.0, 0.0, 18.0, 18.0, 0.0, 0.0};
    const std::vector<double> silent(kBins, 0.0);
    auto corrected = [&](double contourScale)
    {
        std::vector<double> spectrum = silent;
        AddSplineCorrection(spectrum, raised, kRate, kRate, contourScale, 0.0);
        return spectrum;
    };
    const std::vector<double> once = corrected(1.0);
    const std::vector<double> none = corrected(0.0);
    const std::vector<double> twice = corrected(2.0);
    double highest = 0.0;
    for (std::size_t i = 0; i < kBins; ++i)
    {
        const double spline =
            EvaluateSplinePoints(raised, LogFrequencyAxis(i, kBins, kRate, kRate));
        ASSERT_DOUBLE_EQ(once[i], spline) << "bin " << i;
        ASSERT_EQ(none[i], 0.0) << "bin " << i;
        ASSERT_DOUBLE_EQ(twice[i], 2.0 * spline) << "bin " << i;
        highest = std::max(highest, once[i]);
    }
    EXPECT_GT(highest, 20.0) << "an applied correction keeps the overshoot above 18 dB";
}

TEST(AddSplineCorrection, LeavesEmptySpectraAndEmptyPointSetsAlone)
{
    std::vector<double> empty;
    AddSplineCorrection(empty, std::vector<double>{6.0}, kRate, 4096, 1.0, 6.0);
    EXPECT_TRUE(empty.empty());

    std::vector<double> spectrum = {-10.0, -20.0, -30.0};
    AddSplineCorrection(spectrum, std::vector<double>{}, kRate, 4096, 1.0, 6.0);
    EXPECT_EQ(spectrum, (std::vector<double>{-10.0, -20.0, -30.0})) << "no points, not even tilt";

    std::vector<double> one = {-10.0};
    AddSplineCorrection(one, std::vector<double>{3.0}, kRate, 4096, 1.0, 6.0);
    EXPECT_EQ(one[0], -10.0 - 6.0 + 3.0) << "a one-bin spectrum sits at the axis start";
}

TEST(AddSplineCorrection, HeadersAndBinsOutsideTheirRangeGiveFiniteCorrections)
{
    const std::vector<double> points = {-18.0, 18.0, 0.0, 12.0};
    for (const int rate : {0, -1, 1, kLargestInt})
        for (const int fftSize : {0, -1, 1, kLargestInt})
        {
            std::vector<double> spectrum(513, -40.0);
            AddSplineCorrection(spectrum, points, rate, fftSize, 2.0, -6.0);
            for (const double value : spectrum)
                ASSERT_TRUE(std::isfinite(value)) << "rate " << rate << " FFT size " << fftSize;
        }

    std::vector<double> odd = {kNaN, kInf, -kInf, 0.0};
    AddSplineCorrection(odd, points, kRate, 4096, 1.0, 6.0);
    EXPECT_TRUE(std::isnan(odd[0]));
    EXPECT_EQ(odd[1], kInf);
    EXPECT_EQ(odd[2], -kInf);
}

} // namespace
