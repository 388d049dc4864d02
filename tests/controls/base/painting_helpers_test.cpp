#include "controls/base/painting_helpers.h"

#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace
{

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

using Painter = void (*)(Gdiplus::Graphics&, const RECT&, const ControlDrawState&);

ControlDrawState Background(COLORREF colour, bool body, bool frame)
{
    ControlDrawState state;
    state.backgroundColor = colour;
    state.drawBackground = body;
    state.drawBorder = frame;
    return state;
}

// Paints as the paint pipeline would, on a bitmap of `width` x `height`.
void PaintOn(Gdiplus::Bitmap& bitmap, Painter painter, const ControlDrawState& state)
{
    Gdiplus::Graphics graphics(&bitmap);
    PrepareControlGraphics(graphics);
    const RECT rect{0, 0, int(bitmap.GetWidth()), int(bitmap.GetHeight())};
    painter(graphics, rect, state);
}

int PointsOf(float x, float y, float width, float height, float radius)
{
    Gdiplus::GraphicsPath path;
    AddRoundedRectFigure(path, x, y, width, height, radius);
    return path.GetPointCount();
}

} // namespace

TEST(ControlBackground, TheFrameCoversExactlyTheOutermostPixels)
{
    for (const Painter painter : {&PaintControlBackground, &PaintValueControlBackground})
    {
        Gdiplus::Bitmap bitmap(10, 10);
        PaintOn(bitmap, painter, Background(RGB(0, 0, 0), false, true));
        const COLORREF frame = PixelAt(bitmap, 0, 0);
        EXPECT_NE(frame, RGB(0, 0, 0));
        for (int i = 0; i < 10; ++i)
        {
            for (int j = 0; j < 10; ++j)
            {
                const bool outermost = i == 0 || j == 0 || i == 9 || j == 9;
                EXPECT_EQ(PixelAt(bitmap, i, j), outermost ? frame : RGB(0, 0, 0))
                    << i << ", " << j;
            }
        }
    }
    // The value controls' frame is the stronger of the two.
    Gdiplus::Bitmap faint(10, 10);
    Gdiplus::Bitmap strong(10, 10);
    PaintOn(faint, &PaintControlBackground, Background(RGB(0, 0, 0), false, true));
    PaintOn(strong, &PaintValueControlBackground, Background(RGB(0, 0, 0), false, true));
    EXPECT_EQ(GetRValue(PixelAt(faint, 0, 0)), 0x18);
    EXPECT_EQ(GetRValue(PixelAt(strong, 0, 0)), 0x1C);
}

TEST(ControlBackground, BodyGradientRunsDarkToLightDownwardsAndCanBeTurnedOff)
{
    Gdiplus::Bitmap bitmap(40, 200);
    PaintOn(bitmap, &PaintControlBackground, Background(RGB(255, 0, 0), true, false));
    const COLORREF top = PixelAt(bitmap, 20, 0);
    const COLORREF bottom = PixelAt(bitmap, 20, 199);
    EXPECT_NEAR(GetBValue(top), 0x12, 1);
    EXPECT_NEAR(GetBValue(bottom), 0x1B, 1);
    EXPECT_EQ(PixelAt(bitmap, 0, 100), PixelAt(bitmap, 39, 100)) << "no frame, flat across";

    Gdiplus::Bitmap plain(40, 20);
    PaintOn(plain, &PaintValueControlBackground, Background(RGB(9, 80, 200), false, false));
    for (const auto& [x, y] : {std::pair{0, 0}, {20, 10}, {39, 19}})
    {
        EXPECT_EQ(PixelAt(plain, x, y), RGB(9, 80, 200));
    }
}

TEST(ControlBackground, PicturesOfBothPaintersAndRoundedFigures)
{
    // Two sizes of each painter with body and frame on and off, then rounded
    // figures at radius 0, 4, half and twice half the height.
    const int cell = 140;
    Gdiplus::Bitmap sheet(cell * 4, cell * 3);
    Gdiplus::Graphics graphics(&sheet);
    PrepareControlGraphics(graphics);
    graphics.Clear(Gdiplus::Color(255, 60, 60, 60));
    int column = 0;
    for (const Painter painter : {&PaintControlBackground, &PaintValueControlBackground})
    {
        for (const bool on : {true, false})
        {
            for (const CSize size : {CSize(120, 50), CSize(60, 120)})
            {
                const int x = (column % 4) * cell + 10;
                const int y = (column / 4) * cell + 10;
                Gdiplus::Bitmap control(size.cx, size.cy);
                PaintOn(control, painter, Background(brvl::palette::kControlSurface, on, on));
                graphics.DrawImage(&control, x, y);
                ++column;
            }
        }
    }
    const Gdiplus::SolidBrush accent(Gdiplus::ColorFromRef(brvl::palette::kAccent));
    int figure = 0;
    for (const float radius : {0.0f, 4.0f, 20.0f, 40.0f})
    {
        Gdiplus::GraphicsPath path;
        AddRoundedRectFigure(path, float(figure * cell + 10), float(2 * cell + 50), 120, 40,
                             radius);
        graphics.FillPath(&accent, &path);
        ++figure;
    }
    ASSERT_TRUE(SaveControlPicture(sheet, "painting_helpers"));
}

TEST(RoundedRectFigure, TheRadiusIsHeldToHalfTheShorterSide)
{
    const int rectangle = PointsOf(0, 0, 100, 40, 0);
    const int rounded = PointsOf(0, 0, 100, 40, 8);
    EXPECT_GT(rectangle, 0);
    EXPECT_GT(rounded, rectangle) << "arcs add points";
    EXPECT_EQ(PointsOf(0, 0, 100, 40, -5), rectangle) << "a negative radius is square";

    Gdiplus::GraphicsPath half;
    Gdiplus::GraphicsPath twice;
    AddRoundedRectFigure(half, 0, 0, 100, 40, 20);
    AddRoundedRectFigure(twice, 0, 0, 100, 40, 40);
    Gdiplus::RectF halfBounds;
    Gdiplus::RectF twiceBounds;
    half.GetBounds(&halfBounds);
    twice.GetBounds(&twiceBounds);
    EXPECT_EQ(twice.GetPointCount(), half.GetPointCount());
    EXPECT_NEAR(twiceBounds.Width, 100, 1e-3) << "the figure stays inside its rectangle";
    EXPECT_NEAR(twiceBounds.Height, 40, 1e-3);
}

TEST(RoundedRectFigure, NothingIsAddedWithoutAreaOrWithANonFiniteArgument)
{
    struct Case
    {
        float x, y, width, height, radius;
    };
    const Case cases[] = {
        {0, 0, 0, 40, 4},      {0, 0, 100, -1, 4},      {kNaN, 0, 100, 40, 4},
        {0, 0, 100, 40, kNaN}, {0, 0, INFINITY, 40, 4}, {0, -INFINITY, 100, 40, 4},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(PointsOf(c.x, c.y, c.width, c.height, c.radius), 0)
            << c.x << " " << c.y << " " << c.width << " " << c.height << " " << c.radius;
    }
}

TEST(RoundedRectFigure, HalfTheHeightMakesACapsule)
{
    Gdiplus::Bitmap bitmap(100, 40);
    {
        Gdiplus::Graphics graphics(&bitmap);
        PrepareControlGraphics(graphics);
        graphics.Clear(Gdiplus::Color(255, 0, 0, 0));
        Gdiplus::GraphicsPath path;
        AddRoundedRectFigure(path, 0, 0, 100, 40, 20);
        const Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
        graphics.FillPath(&white, &path);
    }
    EXPECT_EQ(PixelAt(bitmap, 0, 0), RGB(0, 0, 0)) << "a rounded corner";
    EXPECT_EQ(PixelAt(bitmap, 3, 3), RGB(0, 0, 0)) << "still outside the semicircle";
    EXPECT_EQ(PixelAt(bitmap, 1, 20), RGB(255, 255, 255)) << "the end's middle is filled";
    EXPECT_EQ(PixelAt(bitmap, 50, 0), RGB(255, 255, 255)) << "a straight top edge";
}
