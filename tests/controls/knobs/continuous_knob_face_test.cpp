#include "controls/knobs/continuous_knob_face.h"

#include "controls/base/painting_helpers.h"
#include "controls/knobs/master_knob_lmt_wnd.h"
#include "controls/knobs/master_knob_wnd.h"
#include "controls/knobs/small_knob_wnd.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace
{

using DrawKnob =
    std::function<void(Gdiplus::Graphics&, const RECT&, const ControlDrawState&, bool bipolar)>;

struct Knob
{
    std::string name;
    CSize preferred;
    KnobSize size;
    DrawKnob draw;
};

const std::vector<Knob> kKnobs = {
    {"master_knob_lmt", CSize(240, 320), KnobSize::Large,
     [](Gdiplus::Graphics& g, const RECT& r, const ControlDrawState& s, bool bipolar)
     { DrawMasterKnobLMT(g, r, s, {.bipolar = bipolar}); }},
    {"master_knob", CSize(240, 320), KnobSize::Large,
     [](Gdiplus::Graphics& g, const RECT& r, const ControlDrawState& s, bool bipolar)
     { DrawMasterKnob(g, r, s, {.bipolar = bipolar}); }},
    {"small_knob", CSize(160, 160), KnobSize::Small,
     [](Gdiplus::Graphics& g, const RECT& r, const ControlDrawState& s, bool bipolar)
     { DrawSmallKnob(g, r, s, {.bipolar = bipolar}); }},
};

ControlDrawState StateAt(double value, const wchar_t* valueText)
{
    ControlDrawState state;
    state.label = L"Intensity";
    state.secondaryText = L"Glue";
    state.value = value;
    state.valueText = valueText;
    return state;
}

// The knob as its window paints it: the value background, then the face.
std::unique_ptr<Gdiplus::Bitmap> Paint(const Knob& knob, CSize size, const ControlDrawState& state,
                                       bool bipolar = false)
{
    auto bitmap =
        std::make_unique<Gdiplus::Bitmap>(std::max<int>(size.cx, 1), std::max<int>(size.cy, 1));
    Gdiplus::Graphics graphics(bitmap.get());
    PrepareControlGraphics(graphics);
    const RECT rect{0, 0, size.cx, size.cy};
    PaintValueControlBackground(graphics, rect, state);
    knob.draw(graphics, rect, state, bipolar);
    return bitmap;
}

bool SamePixels(Gdiplus::Bitmap& a, Gdiplus::Bitmap& b)
{
    for (UINT y = 0; y < a.GetHeight(); ++y)
    {
        for (UINT x = 0; x < a.GetWidth(); ++x)
        {
            if (PixelAt(a, x, y) != PixelAt(b, x, y))
            {
                return false;
            }
        }
    }
    return a.GetWidth() == b.GetWidth() && a.GetHeight() == b.GetHeight();
}

// The middle of the scale ring at `angle`.
POINT OnRing(const KnobGeometry& g, double angle)
{
    const double radians = angle * 3.14159265358979323846 / 180;
    const double r = g.radius - g.ringInset;
    return {static_cast<LONG>(std::lround(g.centerX + r * std::cos(radians))),
            static_cast<LONG>(std::lround(g.centerY + r * std::sin(radians)))};
}

} // namespace

TEST(ContinuousKnobFace, ArcAlphaShowsDraggingThenHoverOfAnEnabledKnob)
{
    struct Case
    {
        bool hover;
        bool dragging;
        bool disabled;
        BYTE alpha;
    };
    const Case cases[] = {
        {false, false, false, 0xBE}, {true, false, false, 0xD6}, {true, false, true, 0xBE},
        {false, true, false, 0xF0},  {true, true, false, 0xF0},
    };
    for (const Case& c : cases)
    {
        ControlDrawState state;
        state.hover = c.hover;
        state.dragging = c.dragging;
        state.disabled = c.disabled;
        EXPECT_EQ(ValueArcAlpha(state), c.alpha) << c.hover << c.dragging << c.disabled;
    }
}

// Pictures of every knob at its preferred size and at 120 x 140, idle at 0.25
// and hovered while dragged at 0.9, then bipolar and disabled; each also goes
// on one sheet, a knob a row.
TEST(ContinuousKnobFace, PicturesOfTheKnobsInTheirStates)
{
    ControlDrawState idle = StateAt(0.25, L"25%");
    ControlDrawState active = StateAt(0.9, L"90%");
    active.hover = true;
    active.dragging = true;
    ControlDrawState bipolar = StateAt(0.25, L"-6.0 dB");
    ControlDrawState disabled = StateAt(0.6, L"60%");
    disabled.disabled = true;
    disabled.hover = true;
    struct Shot
    {
        std::string name;
        bool small;
        const ControlDrawState& state;
        bool bipolar;
    };
    const Shot shots[] = {
        {"idle", false, idle, false},      {"active", false, active, false},
        {"small_idle", true, idle, false}, {"small_active", true, active, false},
        {"bipolar", false, bipolar, true}, {"disabled", false, disabled, false},
    };
    Gdiplus::Bitmap sheet(6 * 250, 3 * 330);
    Gdiplus::Graphics sheetGraphics(&sheet);
    sheetGraphics.Clear(Gdiplus::Color(0xFF404040));
    int row = 0;
    for (const Knob& knob : kKnobs)
    {
        int column = 0;
        for (const Shot& shot : shots)
        {
            const CSize size = shot.small ? CSize(120, 140) : knob.preferred;
            const auto picture = Paint(knob, size, shot.state, shot.bipolar);
            EXPECT_TRUE(SaveControlPicture(*picture, knob.name + "_" + shot.name));
            sheetGraphics.DrawImage(picture.get(), column * 250, row * 330);
            ++column;
        }
        ++row;
    }
    EXPECT_TRUE(SaveControlPicture(sheet, "continuous_knobs"));
}

TEST(ContinuousKnobFace, ADisabledKnobLooksTheSameHoveredOrNot)
{
    for (const Knob& knob : kKnobs)
    {
        SCOPED_TRACE(knob.name);
        ControlDrawState state = StateAt(0.6, L"60%");
        state.disabled = true;
        const auto still = Paint(knob, knob.preferred, state);
        state.hover = true;
        const auto hovered = Paint(knob, knob.preferred, state);
        EXPECT_TRUE(SamePixels(*still, *hovered));
        state.disabled = false;
        const auto enabled = Paint(knob, knob.preferred, state);
        EXPECT_FALSE(SamePixels(*still, *enabled)) << "an enabled knob lights up under the pointer";
    }
}

TEST(ContinuousKnobFace, AnArcOfNoSweepLeavesNoTraceOfTheAccent)
{
    // The small knob shows its accent only in the value arc.
    const Knob& small = kKnobs[2];
    for (const auto& [value, bipolar] : {std::pair{0.0, false}, std::pair{0.5, true}})
    {
        SCOPED_TRACE(::testing::Message() << value << (bipolar ? " bipolar" : ""));
        ControlDrawState state = StateAt(value, L"0");
        state.accentColor = RGB(255, 0, 0);
        const auto red = Paint(small, small.preferred, state, bipolar);
        state.accentColor = RGB(0, 0, 255);
        const auto blue = Paint(small, small.preferred, state, bipolar);
        EXPECT_TRUE(SamePixels(*red, *blue));
        state.value = value + 0.1;
        const auto lit = Paint(small, small.preferred, state, bipolar);
        EXPECT_FALSE(SamePixels(*blue, *lit)) << "a little more value shows";
    }
}

TEST(ContinuousKnobFace, TheLMTKnobOverlaysItsUpperZoneInATurnedHue)
{
    const Knob& lmt = kKnobs[0];
    const Knob& plain = kKnobs[1];
    const KnobGeometry g = MakeKnobGeometry({0, 0, 240, 320}, KnobSize::Large);
    const ControlDrawState state = StateAt(0.9, L"90%");
    const auto zoned = Paint(lmt, lmt.preferred, state);
    const auto unzoned = Paint(plain, plain.preferred, state);

    const POINT belowZone = OnRing(g, 300);
    EXPECT_EQ(PixelAt(*zoned, belowZone.x, belowZone.y),
              PixelAt(*unzoned, belowZone.x, belowZone.y));
    const POINT inZone = OnRing(g, 360);
    const COLORREF overlaid = PixelAt(*zoned, inZone.x, inZone.y);
    const COLORREF accent = PixelAt(*unzoned, inZone.x, inZone.y);
    EXPECT_GT(GetBValue(overlaid), GetBValue(accent)) << "the overlay turns the accent to violet";

    // Past the value the LMT knob's track shows the zone colour, faintly.
    const auto low = Paint(lmt, lmt.preferred, StateAt(0.1, L"10%"));
    const auto plainLow = Paint(plain, plain.preferred, StateAt(0.1, L"10%"));
    const POINT zoneTrack = OnRing(g, 390);
    EXPECT_NE(PixelAt(*low, zoneTrack.x, zoneTrack.y),
              PixelAt(*plainLow, zoneTrack.x, zoneTrack.y));
}

TEST(ContinuousKnobFace, PaintsAnySizeAndAnyValueWithoutHarm)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (const Knob& knob : kKnobs)
    {
        for (const CSize size :
             {CSize(0, 0), CSize(1, 1), CSize(40, 400), CSize(3000, 3000), CSize(120, 140)})
        {
            for (const double value : {0.0, 1.0, nan, inf, -inf, 1e300})
            {
                SCOPED_TRACE(::testing::Message()
                             << knob.name << " " << size.cx << " x " << size.cy << " at " << value);
                ControlDrawState state = StateAt(value, L"");
                state.dragging = true;
                for (const bool bipolar : {false, true})
                {
                    const auto picture = Paint(knob, size, state, bipolar);
                    EXPECT_EQ(picture->GetLastStatus(), Gdiplus::Ok);
                }
            }
        }
    }
}
