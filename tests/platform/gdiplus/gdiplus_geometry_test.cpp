#include "platform/gdiplus/gdiplus.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Gdiplus;

namespace
{

constexpr double kPi = 3.14159265358979323846;

double PolarAngleDeg(const PointF& p, const PointF& centre)
{
    return std::atan2(p.Y - centre.Y, p.X - centre.X) * 180.0 / kPi;
}

} // namespace

TEST(GdiplusGeometry, CardinalSplinePassesThroughItsPointsWithTheTensionControls)
{
    const PointF points[] = {{0, 0}, {10, 5}, {20, -5}, {30, 0}};
    const auto beziers = CardinalSplineToBeziers(points, 4, 0.5f, false);

    ASSERT_EQ(beziers.size(), 10u) << "three segments of three points after the start";
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_FLOAT_EQ(beziers[3 * i].X, points[i].X);
        EXPECT_FLOAT_EQ(beziers[3 * i].Y, points[i].Y);
    }
    // Second segment P1 -> P2: controls P1 + t/3 (P2 - P0) and P2 - t/3 (P3 - P1).
    EXPECT_FLOAT_EQ(beziers[4].X, 10 + 0.5f / 3 * (20 - 0));
    EXPECT_FLOAT_EQ(beziers[4].Y, 5 + 0.5f / 3 * (-5 - 0));
    EXPECT_FLOAT_EQ(beziers[5].X, 20 - 0.5f / 3 * (30 - 10));
    EXPECT_FLOAT_EQ(beziers[5].Y, -5 - 0.5f / 3 * (0 - 5));
    // The ends repeat their point as the missing neighbour.
    EXPECT_FLOAT_EQ(beziers[1].X, 0 + 0.5f / 3 * (10 - 0));
}

TEST(GdiplusGeometry, ZeroTensionSplineIsStraightLines)
{
    const PointF points[] = {{0, 0}, {10, 10}, {20, 0}};
    const auto beziers = CardinalSplineToBeziers(points, 3, 0.0f, false);
    for (size_t i = 0; i + 3 < beziers.size(); i += 3)
    {
        EXPECT_FLOAT_EQ(beziers[i + 1].X, beziers[i].X);
        EXPECT_FLOAT_EQ(beziers[i + 2].X, beziers[i + 3].X);
    }
}

TEST(GdiplusGeometry, ArcAnglesOnAnEllipseArePolarAnglesOfTheEndPoints)
{
    struct Case
    {
        float start;
        float sweep;
    };
    const Case cases[] = {{45, 90}, {30, -100}, {-60, 200}, {10, 45}};
    const RectF box(0, 0, 200, 100);
    const PointF centre(100, 50);
    for (const Case& c : cases)
    {
        GraphicsPath path;
        ASSERT_EQ(path.AddArc(box, c.start, c.sweep), Ok);
        const auto figures = path.Flatten();
        ASSERT_EQ(figures.size(), 1u);
        const PointF first = figures[0].front();
        const PointF last = figures[0].back();
        auto wrapped = [](double deg) { return std::remainder(deg, 360.0); };
        EXPECT_NEAR(wrapped(PolarAngleDeg(first, centre) - c.start), 0.0, 0.05) << c.start;
        EXPECT_NEAR(wrapped(PolarAngleDeg(last, centre) - (c.start + c.sweep)), 0.0, 0.05)
            << c.start << " + " << c.sweep;
    }
}

TEST(GdiplusGeometry, SweepKeepsItsDirectionAndWholeTurnsGiveAFullEllipse)
{
    const RectF box(0, 0, 100, 100);
    GraphicsPath clockwise;
    clockwise.AddArc(box, 0, 90);
    GraphicsPath counter;
    counter.AddArc(box, 0, -90);
    // From 3 o'clock, a positive sweep goes down (y grows), a negative one up.
    EXPECT_GT(clockwise.Flatten()[0].back().Y, 90.0f);
    EXPECT_LT(counter.Flatten()[0].back().Y, 10.0f);

    GraphicsPath full;
    full.AddArc(box, 30, 400);
    RectF bounds;
    full.GetBounds(&bounds);
    EXPECT_NEAR(bounds.Width, 100, 0.5);
    EXPECT_NEAR(bounds.Height, 100, 0.5);
}

TEST(GdiplusGeometry, ElementsOfAnOpenFigureJoinAndClosedShapesStandAlone)
{
    GraphicsPath joined;
    joined.AddLine(0, 0, 10, 0);
    joined.AddLine(20, 10, 30, 10); // joined to the previous end by a line
    EXPECT_EQ(joined.Flatten().size(), 1u);

    GraphicsPath separate;
    separate.AddLine(0, 0, 10, 0);
    separate.AddEllipse(RectF(50, 50, 10, 10));
    separate.AddRectangle(RectF(0, 50, 10, 10));
    EXPECT_EQ(separate.Flatten().size(), 3u);
}

TEST(GdiplusGeometry, DashLengthsAreMultiplesOfThePenWidth)
{
    Pen dashed(Color(255, 0, 0, 0), 2.0f);
    dashed.SetDashStyle(DashStyleDash);
    EXPECT_EQ(dashed.DashLengthsPx(), (std::vector<double>{6, 2}));

    Pen dotted(Color(255, 0, 0, 0), 3.0f);
    dotted.SetDashStyle(DashStyleDot);
    EXPECT_EQ(dotted.DashLengthsPx(), (std::vector<double>{3, 3}));

    Pen custom(Color(255, 0, 0, 0), 0.75f);
    const REAL pattern[] = {2, 3};
    custom.SetDashPattern(pattern, 2);
    EXPECT_EQ(custom.DashLengthsPx(), (std::vector<double>{1.5, 2.25}));

    Pen nothing(Color(255, 0, 0, 0), 1.0f);
    const REAL zeros[] = {0, 0};
    nothing.SetDashPattern(zeros, 2);
    EXPECT_TRUE(nothing.DashLengthsPx().empty()) << "a pattern of nothing draws solid";
}
