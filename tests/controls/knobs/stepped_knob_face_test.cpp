#include "controls/knobs/stepped_knob_face.h"

#include "controls/base/painting_helpers.h"
#include "controls/knobs/small_stepped_knob_wnd.h"
#include "controls/knobs/stepped_knob_wnd.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{

using DrawKnob = void (*)(Gdiplus::Graphics&, const RECT&, const ControlDrawState&,
                          const SteppedKnobState&);

struct Knob
{
    std::string name;
    KnobSize size;
    CSize preferred;
    CSize other;
    DrawKnob draw;
};

const std::vector<Knob> kKnobs = {
    {"stepped_knob", KnobSize::Large, CSize(320, 320), CSize(240, 200), &DrawSteppedKnob},
    {"small_stepped_knob", KnobSize::Small, CSize(160, 160), CSize(120, 140),
     &DrawSmallSteppedKnob},
};

SteppedKnobState Steps(int count, int selected, const wchar_t* text = L"Warm")
{
    SteppedKnobState knob;
    knob.stepCount = count;
    knob.selectedIndex = selected;
    knob.stepText = text;
    return knob;
}

ControlDrawState Snapshot(bool dragging)
{
    ControlDrawState state;
    state.label = L"Style";
    state.secondaryText = L"Character";
    state.hover = dragging;
    state.dragging = dragging;
    return state;
}

// The knob as its window paints it: the value background, then the face.
std::unique_ptr<Gdiplus::Bitmap> Paint(const Knob& knob, CSize size, const ControlDrawState& state,
                                       const SteppedKnobState& steps)
{
    auto bitmap =
        std::make_unique<Gdiplus::Bitmap>(std::max<int>(size.cx, 1), std::max<int>(size.cy, 1));
    Gdiplus::Graphics graphics(bitmap.get());
    PrepareControlGraphics(graphics);
    const RECT rect{0, 0, size.cx, size.cy};
    PaintValueControlBackground(graphics, rect, state);
    knob.draw(graphics, rect, state, steps);
    return bitmap;
}

// The middle of the scale ring at `angle`.
POINT OnRing(const KnobGeometry& g, double angle)
{
    const double radians = angle * 3.14159265358979323846 / 180;
    const double r = g.radius - g.ringInset;
    return {static_cast<LONG>(std::lround(g.centerX + r * std::cos(radians))),
            static_cast<LONG>(std::lround(g.centerY + r * std::sin(radians)))};
}

// How far a colour is from grey: the default accent (red 0xE5, blue 0x52)
// stands far from the grey track.
int Spread(COLORREF c)
{
    const int r = GetRValue(c);
    const int g = GetGValue(c);
    const int b = GetBValue(c);
    return std::max({r, g, b}) - std::min({r, g, b});
}

} // namespace

TEST(SteppedKnobGeometry, TheLargeKnobTakesAShareOfTheShorterSide)
{
    struct Case
    {
        CSize size;
        int diameter;
        int centerX;
        int centerY;
    };
    const Case cases[] = {
        {CSize(320, 320), 198, 160, 134}, // int(0.62 x 320); centre y int(0.42 x 320)
        {CSize(240, 200), 124, 120, 84},
        {CSize(100, 100), 120, 50, 76}, // too small: 120, running off the window
        {CSize(1000, 400), 248, 500, 168},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.size.cx << " x " << c.size.cy);
        const RECT client{0, 0, c.size.cx, c.size.cy};
        const KnobGeometry g = MakeSteppedKnobGeometry(client, KnobSize::Large);
        EXPECT_EQ(g.diameter, c.diameter);
        EXPECT_EQ(g.radius, c.diameter / 2);
        EXPECT_EQ(g.centerX, c.centerX);
        EXPECT_EQ(g.centerY, c.centerY);
    }
    const KnobGeometry small = MakeSteppedKnobGeometry(RECT{0, 0, 160, 160}, KnobSize::Small);
    EXPECT_EQ(small.radius, 45);
    EXPECT_EQ(small.centerX, 80);
    EXPECT_EQ(small.centerY, 55);
}

TEST(SteppedKnobFace, LightsOnlyTheSelectedStepsSegment)
{
    for (const Knob& knob : kKnobs)
    {
        SCOPED_TRACE(knob.name);
        const RECT rect{0, 0, knob.preferred.cx, knob.preferred.cy};
        const KnobGeometry g = MakeSteppedKnobGeometry(rect, knob.size);
        // Five steps stand at 135, 202.5, 270, 337.5 and 405 degrees.
        for (const int selected : {0, 2, 4})
        {
            auto bitmap = Paint(knob, knob.preferred, Snapshot(false), Steps(5, selected));
            for (int i = 0; i < 5; ++i)
            {
                const POINT p = OnRing(g, 135 + 67.5 * i);
                const COLORREF c = PixelAt(*bitmap, p.x, p.y);
                if (i == selected)
                {
                    EXPECT_GT(Spread(c), 80) << "step " << i << " of " << selected;
                }
                else
                {
                    EXPECT_LT(Spread(c), 40) << "step " << i << " of " << selected;
                }
            }
        }
    }
}

TEST(SteppedKnobFace, AnyStepCountOrSelectionPaintsInBoundedTime)
{
    struct Case
    {
        int count;
        int selected;
    };
    const Case cases[] = {{0, 0},    {1, 0},           {-5, -3}, {1000000000, 999999999},
                          {32, 999}, {2, -2147483647}, {33, 32}, {2147483647, 2147483647}};
    for (const Knob& knob : kKnobs)
    {
        for (const Case& c : cases)
        {
            SCOPED_TRACE(::testing::Message() << knob.name << " " << c.count << " " << c.selected);
            auto bitmap = Paint(knob, knob.preferred, Snapshot(false), Steps(c.count, c.selected));
            EXPECT_NE(PixelAt(*bitmap, knob.preferred.cx / 2, knob.preferred.cy / 2), 0u);
        }
    }
}

// Both knobs with 2, 5 and 32 steps, idle and hovered while dragged, at their
// preferred sizes and one other: one sheet a knob, a size a row.
TEST(SteppedKnobFace, PicturesOfTheKnobsInTheirStates)
{
    struct Shot
    {
        int count;
        int selected;
        const wchar_t* text;
        bool dragging;
    };
    const Shot shots[] = {
        {2, 1, L"On", false},    {2, 1, L"On", true},  {5, 1, L"Warm", false},
        {5, 3, L"Bright", true}, {32, 0, L"0", false}, {32, 20, L"20", true},
    };
    for (const Knob& knob : kKnobs)
    {
        const int cell = knob.preferred.cx + 10;
        Gdiplus::Bitmap sheet(6 * cell, 2 * (knob.preferred.cy + 10));
        Gdiplus::Graphics sheetGraphics(&sheet);
        sheetGraphics.Clear(Gdiplus::Color(0xFF404040));
        int row = 0;
        for (const CSize size : {knob.preferred, knob.other})
        {
            int column = 0;
            for (const Shot& shot : shots)
            {
                auto bitmap = Paint(knob, size, Snapshot(shot.dragging),
                                    Steps(shot.count, shot.selected, shot.text));
                sheetGraphics.DrawImage(bitmap.get(), column * cell,
                                        row * (knob.preferred.cy + 10));
                ++column;
            }
            ++row;
        }
        EXPECT_TRUE(SaveControlPicture(sheet, knob.name + "_states"));
    }
}
