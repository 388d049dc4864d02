#include "platform/gdiplus/gdiplus.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>

using namespace Gdiplus;

namespace
{

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

Color PixelAt(const Bitmap& bitmap, int x, int y)
{
    Color c;
    bitmap.GetPixel(x, y, &c);
    return c;
}

} // namespace

TEST(GdiplusPainting, DegenerateInputDrawsNothingAndLaterDrawingStillWorks)
{
    const Pen pen(Color(255, 255, 255, 255), 2.0f);
    const SolidBrush brush(Color(255, 255, 255, 255));
    const LinearGradientBrush flat(PointF(5, 5), PointF(5, 5), Color(255, 255, 0, 0),
                                   Color(255, 0, 0, 255));
    const Font noSize(L"Segoe UI", 0.0f, FontStyleRegular, UnitPixel);
    const Font font(L"Segoe UI", 12.0f, FontStyleRegular, UnitPixel);
    const PointF onePoint[] = {{3, 3}};
    const PointF twoPoints[] = {{3, 3}, {20, 20}};
    const PointF samePoint[] = {{20, 20}, {20, 20}, {20, 20}};
    const PointF nanPoints[] = {{3, 3}, {kNaN, 20}, {30, 5}};
    Pen negativePen(Color(255, 255, 255, 255), -1.0f);
    Pen roundPen(Color(255, 255, 255, 255), 4.0f); // would make a dot of a figure of no length
    roundPen.SetStartCap(LineCapRound);
    roundPen.SetEndCap(LineCapRound);

    struct Case
    {
        const char* name;
        std::function<void(Graphics&)> draw;
    };
    const Case cases[] = {
        {"zero-width ellipse", [&](Graphics& g) { g.FillEllipse(&brush, 5.f, 5.f, 0.f, 20.f); }},
        {"negative ellipse", [&](Graphics& g) { g.DrawEllipse(&pen, 5.f, 5.f, -10.f, 20.f); }},
        {"zero-height rectangle",
         [&](Graphics& g) { g.FillRectangle(&brush, 5.f, 5.f, 20.f, 0.f); }},
        {"NaN rectangle", [&](Graphics& g) { g.DrawRectangle(&pen, kNaN, 5.f, 20.f, 20.f); }},
        {"infinite line", [&](Graphics& g) { g.DrawLine(&pen, 0.f, 0.f, kInf, 10.f); }},
        {"zero-length line", [&](Graphics& g) { g.DrawLine(&pen, 10.f, 10.f, 10.f, 10.f); }},
        {"zero sweep arc", [&](Graphics& g) { g.DrawArc(&pen, RectF(5, 5, 30, 30), 45, 0); }},
        {"zero sweep pie", [&](Graphics& g) { g.FillPie(&brush, RectF(5, 5, 30, 30), 45, 0); }},
        {"NaN sweep", [&](Graphics& g) { g.DrawArc(&pen, RectF(5, 5, 30, 30), 45, kNaN); }},
        {"arc box of no height", [&](Graphics& g) { g.DrawArc(&pen, RectF(5, 5, 30, 0), 0, 90); }},
        {"gradient with equal points",
         [&](Graphics& g) { g.FillRectangle(&flat, 0.f, 0.f, 40.f, 40.f); }},
        {"font size 0", [&](Graphics& g)
         { g.DrawString(L"text", -1, &noSize, RectF(0, 0, 40, 40), nullptr, &brush); }},
        {"text box without width", [&](Graphics& g)
         { g.DrawString(L"text", -1, &font, RectF(0, 0, 0, 40), nullptr, &brush); }},
        {"NaN text box", [&](Graphics& g)
         { g.DrawString(L"text", -1, &font, RectF(kNaN, 0, 40, 40), nullptr, &brush); }},
        {"empty string",
         [&](Graphics& g) { g.DrawString(L"", -1, &font, RectF(0, 0, 40, 40), nullptr, &brush); }},
        {"lines of one point", [&](Graphics& g) { g.DrawLines(&pen, onePoint, 1); }},
        {"curve of one point", [&](Graphics& g) { g.DrawCurve(&pen, onePoint, 1); }},
        {"curve of coincident points", [&](Graphics& g) { g.DrawCurve(&roundPen, samePoint, 3); }},
        {"lines of coincident points", [&](Graphics& g) { g.DrawLines(&roundPen, samePoint, 3); }},
        {"polygon of two points", [&](Graphics& g) { g.FillPolygon(&brush, twoPoints, 2); }},
        {"NaN in a polygon", [&](Graphics& g) { g.FillPolygon(&brush, nanPoints, 3); }},
        {"NaN curve tension", [&](Graphics& g) { g.DrawCurve(&pen, twoPoints, 2, kNaN); }},
        {"negative pen width",
         [&](Graphics& g) { g.DrawLine(&negativePen, 0.f, 0.f, 30.f, 30.f); }},
        {"null pen", [&](Graphics& g) { g.DrawLine(nullptr, 0.f, 0.f, 30.f, 30.f); }},
        {"empty path",
         [&](Graphics& g)
         {
             GraphicsPath path;
             g.FillPath(&brush, &path);
         }},
        {"path gradient over nothing",
         [&](Graphics& g)
         {
             GraphicsPath path;
             path.AddEllipse(RectF(10, 10, 0, 0));
             PathGradientBrush radial(&path);
             g.FillRectangle(&radial, 0.f, 0.f, 40.f, 40.f);
         }},
    };
    for (const Case& c : cases)
    {
        Bitmap bitmap(40, 40);
        Graphics g(&bitmap);
        g.SetSmoothingMode(SmoothingModeAntiAlias);
        c.draw(g);
        EXPECT_EQ(cairo_status(g.Context()), CAIRO_STATUS_SUCCESS) << c.name;
        g.FillRectangle(&brush, 0.f, 0.f, 4.f, 4.f);
        EXPECT_EQ(PixelAt(bitmap, 1, 1).GetValue(), 0xFFFFFFFFu)
            << c.name << ": later drawing lost";
        EXPECT_EQ(PixelAt(bitmap, 20, 20).GetA(), 0) << c.name << ": drew something";
    }
}

TEST(GdiplusPainting, HalfPixelOffsetIsCairosModelAndTheDefaultShiftsByHalf)
{
    const SolidBrush white(Color(255, 255, 255, 255));
    Bitmap half(10, 10);
    {
        Graphics g(&half);
        g.SetSmoothingMode(SmoothingModeAntiAlias);
        g.SetPixelOffsetMode(PixelOffsetModeHalf);
        g.FillRectangle(&white, 2, 2, 3, 3);
    }
    EXPECT_EQ(PixelAt(half, 2, 2).GetA(), 255) << "whole pixels covered exactly";
    EXPECT_EQ(PixelAt(half, 4, 4).GetA(), 255);
    EXPECT_EQ(PixelAt(half, 5, 5).GetA(), 0);
    EXPECT_EQ(PixelAt(half, 1, 1).GetA(), 0);

    Bitmap shifted(10, 10);
    {
        Graphics g(&shifted);
        g.SetSmoothingMode(SmoothingModeAntiAlias);
        g.FillRectangle(&white, 2, 2, 3, 3);
    }
    EXPECT_GT(PixelAt(shifted, 2, 2).GetA(), 0);
    EXPECT_LT(PixelAt(shifted, 2, 2).GetA(), 255) << "half covered when shifted by half a pixel";
    EXPECT_GT(PixelAt(shifted, 5, 5).GetA(), 0);
}

TEST(GdiplusPainting, ClearReplacesPixelsAndEachSetClipReplacesTheLast)
{
    Bitmap bitmap(20, 20);
    Graphics g(&bitmap);
    g.Clear(Color(128, 255, 0, 0));
    EXPECT_EQ(PixelAt(bitmap, 0, 0).GetA(), 128) << "clear replaces, it does not blend";

    const SolidBrush blue(Color(255, 0, 0, 255));
    g.SetClip(RectF(0, 0, 5, 5));
    g.SetClip(RectF(10, 10, 5, 5));
    g.FillRectangle(&blue, 0, 0, 20, 20);
    EXPECT_EQ(PixelAt(bitmap, 2, 2).GetB(), 0) << "the first clip was replaced";
    EXPECT_EQ(PixelAt(bitmap, 12, 12).GetB(), 255);

    Region saved;
    g.GetClip(&saved);
    g.ResetClip();
    g.FillRectangle(&blue, 0, 0, 2, 2);
    EXPECT_EQ(PixelAt(bitmap, 0, 0).GetB(), 255);
    g.SetClip(&saved);
    const SolidBrush green(Color(255, 0, 255, 0));
    g.FillRectangle(&green, 0, 0, 20, 20);
    EXPECT_EQ(PixelAt(bitmap, 0, 0).GetG(), 0) << "a saved region restores the earlier clip";
    EXPECT_EQ(PixelAt(bitmap, 12, 12).GetG(), 255);
}

TEST(GdiplusPainting, PathGradientRunsFromTheCentreToTheOutlineAndStaysInside)
{
    Bitmap bitmap(60, 60);
    {
        Graphics g(&bitmap);
        g.SetPixelOffsetMode(PixelOffsetModeHalf);
        GraphicsPath path;
        path.AddEllipse(RectF(10, 10, 40, 40));
        PathGradientBrush brush(&path);
        brush.SetCenterPoint(PointF(30, 30));
        brush.SetCenterColor(Color(255, 255, 255, 255));
        Color surround(255, 0, 0, 0);
        int count = 1;
        brush.SetSurroundColors(&surround, &count);
        g.FillRectangle(&brush, 0, 0, 60, 60);
    }
    EXPECT_GT(PixelAt(bitmap, 30, 30).GetR(), 240) << "centre colour at the centre";
    EXPECT_LT(PixelAt(bitmap, 12, 30).GetR(), 40) << "surround colour at the outline";
    const Color mid = PixelAt(bitmap, 20, 30);
    EXPECT_NEAR(mid.GetR(), 128, 20) << "half-way blends half-way";
    EXPECT_EQ(PixelAt(bitmap, 2, 2).GetA(), 0) << "nothing outside the path";
}

TEST(GdiplusPainting, RepeatedPathGradientsPaintTheSameAsTheFirstTime)
{
    auto paint = [](const PointF& centre)
    {
        auto bitmap = std::make_unique<Bitmap>(40, 40);
        Graphics g(bitmap.get());
        GraphicsPath path;
        path.AddEllipse(RectF(0, 0, 40, 40));
        PathGradientBrush brush(&path);
        brush.SetCenterPoint(centre);
        brush.SetCenterColor(Color(255, 255, 255, 255));
        Color surround(255, 0, 0, 0);
        int count = 1;
        brush.SetSurroundColors(&surround, &count);
        g.FillPath(&brush, &path);
        return bitmap;
    };
    const auto first = paint(PointF(12, 12));
    const auto other = paint(PointF(28, 28));
    const auto again = paint(PointF(12, 12));
    EXPECT_NE(PixelAt(*first, 12, 12).GetValue(), PixelAt(*other, 12, 12).GetValue());
    for (int y = 0; y < 40; ++y)
    {
        for (int x = 0; x < 40; ++x)
        {
            ASSERT_EQ(PixelAt(*first, x, y).GetValue(), PixelAt(*again, x, y).GetValue())
                << x << "," << y;
        }
    }
}

TEST(GdiplusPainting, LinearGradientPadsBeyondItsEnds)
{
    Bitmap bitmap(40, 4);
    {
        Graphics g(&bitmap);
        g.SetPixelOffsetMode(PixelOffsetModeHalf);
        LinearGradientBrush brush(PointF(10, 0), PointF(30, 0), Color(255, 0, 0, 0),
                                  Color(255, 255, 255, 255));
        g.FillRectangle(&brush, 0, 0, 40, 4);
    }
    EXPECT_EQ(PixelAt(bitmap, 2, 1).GetR(), 0);
    EXPECT_EQ(PixelAt(bitmap, 37, 1).GetR(), 255);
    EXPECT_NEAR(PixelAt(bitmap, 20, 1).GetR(), 134, 10);
}

TEST(GdiplusPainting, ColorMatrixGreysAndFadesAnImage)
{
    Bitmap source(2, 1);
    source.SetPixel(0, 0, Color(255, 255, 0, 0));
    source.SetPixel(1, 0, Color(255, 0, 255, 0));
    ColorMatrix grey{};
    for (int column = 0; column < 3; ++column)
    {
        grey.m[0][column] = 0.299f;
        grey.m[1][column] = 0.587f;
        grey.m[2][column] = 0.114f;
    }
    grey.m[3][3] = 0.45f;
    grey.m[4][4] = 1.0f;
    ImageAttributes attributes;
    attributes.SetColorMatrix(&grey);

    Bitmap target(2, 1);
    {
        Graphics g(&target);
        g.SetInterpolationMode(InterpolationModeNearestNeighbor);
        g.SetPixelOffsetMode(PixelOffsetModeHalf);
        g.DrawImage(&source, Rect(0, 0, 2, 1), 0, 0, 2, 1, UnitPixel, &attributes);
    }
    const Color red = PixelAt(target, 0, 0);
    const Color green = PixelAt(target, 1, 0);
    EXPECT_NEAR(red.GetA(), 115, 2) << "alpha x 0.45";
    EXPECT_NEAR(red.GetR(), 76, 3) << "grey = 0.299 R";
    EXPECT_NEAR(red.GetG(), red.GetR(), 1);
    EXPECT_NEAR(green.GetR(), 150, 3) << "grey = 0.587 G";
}
