#include "controls/knobs/knob_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

TEST(KnobScale, ValueArcsGrowFromTheStartOrFromTheTopCentre)
{
    struct Case
    {
        double value;
        bool bipolar;
        double start;
        double sweep;
    };
    const Case cases[] = {
        {0.0, false, 135, 0},  {1.0, false, 135, 270},    {0.9, false, 135, 243}, // to 378
        {0.5, true, 270, 0},   {0.25, true, 202.5, 67.5}, {0.75, true, 270, 67.5},
        {0.0, true, 135, 135}, {1.0, true, 270, 135},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.value << (c.bipolar ? " bipolar" : ""));
        const ArcSpan arc = ValueArc(c.value, c.bipolar);
        EXPECT_DOUBLE_EQ(arc.start, c.start);
        EXPECT_DOUBLE_EQ(arc.sweep, c.sweep);
    }
    EXPECT_DOUBLE_EQ(ScaleAngle(0.25), 202.5) << "the bipolar knob's pointer stands where unipolar";
    EXPECT_DOUBLE_EQ(ScaleAngle(0.9), 378);
}

TEST(KnobScale, APressOnTheScaleGivesItsValueAndOneInTheGapNone)
{
    struct Case
    {
        const char* name;
        double dx;
        double dy; // y grows downwards
        std::optional<double> value;
    };
    const Case cases[] = {
        {"lower left, the start", -30, 30, 0.0},
        {"straight up, the middle", 0, -42, 0.5},
        {"lower right, the end", 17, 17, 1.0},
        {"left", -5, 0, 45.0 / 270},
        {"right", 5, 0, 225.0 / 270},
        {"straight down, the gap", 0, 40, std::nullopt},
        {"just inside the gap", 30, 31, std::nullopt},
        {"just before the start, in the gap", -30, 31, std::nullopt},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::optional<double> value = ScaleValueAt(c.dx, c.dy);
        ASSERT_EQ(value.has_value(), c.value.has_value());
        if (value)
        {
            EXPECT_NEAR(*value, *c.value, 1e-12);
        }
    }
    EXPECT_FALSE(ScaleValueAt(std::numeric_limits<double>::quiet_NaN(), 1).has_value());
}

TEST(KnobScale, TheUpperZoneAndTheOverlayBeyondIt)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const auto& [threshold, start] : std::vector<std::pair<double, double>>{
             {0.75, 0.75}, {0.0, 1.0}, {1.0, 1.0}, {-0.5, 1.0}, {1.5, 1.0}, {nan, 1.0}})
    {
        EXPECT_EQ(ZoneStart(threshold), start) << threshold;
    }

    const ArcSpan over = OverZoneArc(0.9, 0.75);
    EXPECT_DOUBLE_EQ(over.start, 337.5);
    EXPECT_DOUBLE_EQ(over.start + over.sweep, 378);
    EXPECT_DOUBLE_EQ(OverZoneHueTurn(0.9, 0.75), -54);
    EXPECT_DOUBLE_EQ(OverZoneHueTurn(1.0, 0.75), kZoneHueTurn);
    EXPECT_EQ(OverZoneArc(0.6, 0.75).sweep, 0) << "below the zone";
    EXPECT_EQ(OverZoneArc(1.0, 1.0).sweep, 0) << "no zone";
    EXPECT_EQ(OverZoneHueTurn(1.0, 1.0), 0);
}
