#include "controls/knobs/knob_geometry.h"

#include <gtest/gtest.h>

#include <limits>

TEST(KnobGeometry, PlacesTheKnobByTheWindowsSize)
{
    struct Case
    {
        const char* name;
        RECT client;
        KnobSize size;
        int diameter;
        int radius;
        int centerX;
        int centerY;
    };
    const Case cases[] = {
        {"large at its preferred size", {0, 0, 240, 320}, KnobSize::Large, 173, 86, 120, 134},
        {"small at its preferred size", {0, 0, 160, 160}, KnobSize::Small, 90, 45, 80, 55},
        // Too short for both margins: the one above wins, the knob runs off the bottom.
        {"large, short", {0, 0, 240, 100}, KnobSize::Large, 120, 60, 120, 76},
        {"small, short", {0, 0, 100, 100}, KnobSize::Small, 90, 45, 50, 55},
        {"large, narrow", {0, 0, 200, 800}, KnobSize::Large, 176, 88, 100, 336},
        {"large, odd size", {0, 0, 241, 321}, KnobSize::Large, 174, 87, 120, 134},
        {"small, odd size", {0, 0, 199, 201}, KnobSize::Small, 92, 46, 99, 68},
        {"small, at most 150", {0, 0, 400, 400}, KnobSize::Small, 150, 75, 200, 136},
        {"large, huge", {0, 0, 3000, 3000}, KnobSize::Large, 1835, 917, 1500, 1260},
        {"large, empty", {0, 0, 0, 0}, KnobSize::Large, 120, 60, 0, 76},
        {"small, empty", {0, 0, 0, 0}, KnobSize::Small, 90, 45, 0, 55},
        {"large, thin and tall", {0, 0, 40, 400}, KnobSize::Large, 120, 60, 20, 168},
        {"large, moved", {10, 20, 250, 340}, KnobSize::Large, 173, 86, 130, 154},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const KnobGeometry g = MakeKnobGeometry(c.client, c.size);
        EXPECT_EQ(g.diameter, c.diameter);
        EXPECT_EQ(g.radius, c.radius);
        EXPECT_EQ(g.centerX, c.centerX);
        EXPECT_EQ(g.centerY, c.centerY);
    }
}

TEST(KnobGeometry, RingAndRadiiFollowTheRadiusWithinTheirLimits)
{
    struct Case
    {
        const char* name;
        RECT client;
        KnobSize size;
        double ringInset;
        double ringWidth;
    };
    const Case cases[] = {
        {"large, between the limits", {0, 0, 240, 320}, KnobSize::Large, 0.12 * 86, 0.1 * 86},
        {"large, at the lower limits", {0, 0, 240, 100}, KnobSize::Large, 10, 8},
        {"large, at the upper limits", {0, 0, 3000, 3000}, KnobSize::Large, 18, 15},
        {"small, fixed", {0, 0, 400, 400}, KnobSize::Small, 10, 8},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const KnobGeometry g = MakeKnobGeometry(c.client, c.size);
        EXPECT_DOUBLE_EQ(g.ringInset, c.ringInset);
        EXPECT_DOUBLE_EQ(g.ringWidth, c.ringWidth);
    }

    const KnobGeometry large = MakeKnobGeometry({0, 0, 240, 320}, KnobSize::Large);
    EXPECT_DOUBLE_EQ(large.faceRadius, 0.76 * 86);
    EXPECT_DOUBLE_EQ(large.capRadius, 0.38 * 86);
    EXPECT_EQ(large.hoverRadius, 96);
    EXPECT_DOUBLE_EQ(large.pressInner, large.faceRadius);
    EXPECT_EQ(large.pressOuter, 96);
    const Gdiplus::RectF ring = large.RingBox();
    EXPECT_FLOAT_EQ(ring.Width, 2 * (86 - 0.12f * 86));
    EXPECT_FLOAT_EQ(ring.X + ring.Width / 2, 120);
    EXPECT_FLOAT_EQ(ring.Y + ring.Height / 2, 134);

    const KnobGeometry small = MakeKnobGeometry({0, 0, 160, 160}, KnobSize::Small);
    EXPECT_DOUBLE_EQ(small.faceRadius, 0.74 * 45);
    EXPECT_DOUBLE_EQ(small.capRadius, 0.34 * 45);
    EXPECT_EQ(small.hoverRadius, 53);
    EXPECT_DOUBLE_EQ(small.pressInner, 22.5);
    EXPECT_EQ(small.pressOuter, 53);
}

TEST(KnobGeometry, TakesAChosenDiameterAndSurvivesAbsurdRectangles)
{
    const KnobGeometry chosen = MakeKnobGeometry({0, 0, 320, 320}, KnobSize::Large, 158);
    EXPECT_EQ(chosen.radius, 79);
    EXPECT_EQ(chosen.centerX, 160);
    EXPECT_EQ(chosen.centerY, 134);

    constexpr LONG kLeast = std::numeric_limits<LONG>::min();
    constexpr LONG kMost = std::numeric_limits<LONG>::max();
    for (const RECT& client : {RECT{0, 0, -50, -50}, RECT{kLeast, kLeast, kMost, kMost},
                               RECT{kMost, kMost, kLeast, kLeast}})
    {
        for (const KnobSize size : {KnobSize::Large, KnobSize::Small})
        {
            const KnobGeometry g = MakeKnobGeometry(client, size);
            EXPECT_GE(g.radius, 39);
            EXPECT_LE(g.radius, 1000000);
        }
    }
}
