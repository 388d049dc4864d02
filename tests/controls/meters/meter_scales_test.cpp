#include "controls/meters/meter_scales.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace
{

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

MeterSeries Series(std::string key, double rate, std::vector<float> values)
{
    return {std::move(key), rate, std::move(values)};
}

AudioBuffer SecondsOfStereo(int rate, double seconds)
{
    AudioBuffer buffer;
    buffer.sampleRate = rate;
    buffer.samples.assign(static_cast<size_t>(2 * rate * seconds), 0.0);
    return buffer;
}

} // namespace

TEST(OutputMeterScale, ALevelOnATickLiesOnItsLine)
{
    // -60 to +3 over a 266-pixel scale; 60/63 is 0 dB.
    EXPECT_DOUBLE_EQ(OutputMeterLevelY(60.0 / 63, -60, 3, 36, 302),
                     OutputMeterTickY(0, -60, 3, 36, 302));
    EXPECT_DOUBLE_EQ(OutputMeterLevelY(0, -60, 3, 36, 302), 302) << "unlit: the bottom edge";
    EXPECT_DOUBLE_EQ(OutputMeterLevelY(1, -60, 3, 36, 302), 36) << "full: the top";
    EXPECT_DOUBLE_EQ(OutputMeterLevelY(7, -60, 3, 36, 302), 36);
    EXPECT_DOUBLE_EQ(OutputMeterLevelY(kNaN, -60, 3, 36, 302), 302);

    for (const auto& [min, max, drawable] :
         std::vector<std::tuple<double, double, bool>>{{-60, 0, true},
                                                       {-5, -5, false},
                                                       {0, -60, false},
                                                       {kNaN, 0, false},
                                                       {-kInf, 0, false},
                                                       {-60, kInf, false},
                                                       {-1e308, 1e308, false}})
    {
        EXPECT_EQ(IsDrawableDbRange(min, max), drawable) << min << ".." << max;
    }
}

TEST(OutputMeterScale, RowsRampFromTealThroughAmberToRed)
{
    struct Case
    {
        double db;
        double max;
        RgbBytes rgb;
    };
    const Case cases[] = {
        {-9, 0, {226, 185, 70}},  {-18, 0, {40, 221, 170}},    {-40, 0, {40, 221, 170}},
        {0, 0, {235, 84, 74}},    {-13.5, 0, {133, 203, 120}}, {3, 3, {235, 84, 74}},
        {-9, -9, {226, 185, 70}}, {-9.0, -20, {226, 185, 70}}, // a top at or below -9 dB
        {-4, -9, {226, 185, 70}},
    };
    for (const Case& c : cases)
    {
        const RgbBytes rgb = OutputMeterRowColor(c.db, c.max);
        EXPECT_EQ(int(rgb.red), int(c.rgb.red)) << c.db << " of " << c.max;
        EXPECT_EQ(int(rgb.green), int(c.rgb.green)) << c.db << " of " << c.max;
        EXPECT_EQ(int(rgb.blue), int(c.rgb.blue)) << c.db << " of " << c.max;
    }
}

TEST(GainReductionSeries, TheFirstSeriesWithValuesIsReadAtTheCursor)
{
    AudioBuffer buffer = SecondsOfStereo(100, 10.0); // 10 s
    buffer.meterSeries = {Series("dynamics.gain_reduction_db", 10, {}),
                          Series("dynamics.gain_reduction_db ", 10, {9}),
                          Series("dynamics.gain_reduction_db", 10, {1, 2, 3, -4, 5})};
    ASSERT_EQ(FindDynamicsGainReductionSeries(buffer), &buffer.meterSeries[2]);

    struct Case
    {
        double cursor;
        float reading;
    };
    const Case cases[] = {
        {0.0, 1},  {0.19, 2}, {0.3, -0.0f}, // negative values read 0
        {0.45, 5}, {9.0, 5},  {1e12, 5},    // past the series: its last value
        {-3, 1},   {kNaN, 1}, {kInf, 1},    // a cursor that is not finite reads the start
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(GainReductionAt(buffer, c.cursor), c.reading) << c.cursor;
    }
}

TEST(GainReductionSeries, UnusableSeriesAndBuffersReadZero)
{
    AudioBuffer buffer = SecondsOfStereo(100, 1.0);
    for (const double rate : {0.0, -5.0, kNaN, -kInf})
    {
        buffer.meterSeries = {Series("dynamics.gain_reduction_db", rate, {6})};
        EXPECT_EQ(GainReductionAt(buffer, 0.5), 0.0f) << rate;
    }
    buffer.meterSeries = {Series("dynamics.gain_reduction_db", 1e300, {6, 7})};
    EXPECT_EQ(GainReductionAt(buffer, 0.5), 7.0f) << "a huge rate reads the last value";
    buffer.meterSeries = {Series("dynamics.gain_reduction_db", 10, {std::nanf(""), 3})};
    EXPECT_EQ(GainReductionAt(buffer, 0.0), 0.0f) << "a NaN value reads 0";
    buffer.meterSeries = {Series("dynamics.gain_reductions_db", 10, {6})};
    EXPECT_EQ(GainReductionAt(buffer, 0.0), 0.0f) << "a wrong key";

    AudioBuffer noRate = SecondsOfStereo(100, 1.0);
    noRate.sampleRate = 0;
    noRate.meterSeries = {Series("dynamics.gain_reduction_db", 10, {6, 7})};
    EXPECT_EQ(GainReductionAt(noRate, 0.5), 6.0f) << "no duration: the start";
}

TEST(NeedleDial, PositionsTurnClockwiseFromTheLowerLeft)
{
    EXPECT_DOUBLE_EQ(NeedleAngleDegrees(0), 155);
    EXPECT_DOUBLE_EQ(NeedleAngleDegrees(1), 385);
    EXPECT_DOUBLE_EQ(NeedleTickPosition(0, -20, 3), 20.0 / 23);
    EXPECT_DOUBLE_EQ(NeedleTickPosition(-5, -5, -5), 0) << "an empty range: the start";
    EXPECT_DOUBLE_EQ(NeedleTickPosition(0, 3, -20), 0);
    EXPECT_DOUBLE_EQ(NeedleTickPosition(6, -20, 3), 1);
}
