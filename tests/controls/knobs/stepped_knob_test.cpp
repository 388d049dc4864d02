#include "controls/knobs/stepped_knob.h"

#include "controls/knobs/small_stepped_knob_wnd.h"
#include "controls/knobs/stepped_knob_wnd.h"
#include "controls/layout/control_item.h"
#include "platform/win32/backend_bridge.h"
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

// Both stepped knobs at their preferred sizes, used through the injected
// input of the test session.
template <typename Knob> class SteppedKnobGestures : public ControlTest
{
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        CreateIn(knob, CRect(CPoint(20, 20), knob.GetPreferredSize()));
    }

    KnobGeometry Geometry() const
    {
        CRect client;
        knob.GetClientRect(&client);
        return MakeSteppedKnobGeometry(client, knob.GetKnobSize());
    }

    // The screen point at `angle` degrees (GDI+: clockwise from the right)
    // and `share` of the radius from the centre.
    POINT Polar(double angle, double share) const
    {
        const KnobGeometry g = Geometry();
        const double radians = angle * 3.14159265358979323846 / 180;
        const double r = share * g.radius;
        return At(knob, g.centerX + static_cast<int>(std::lround(r * std::cos(radians))),
                  g.centerY + static_cast<int>(std::lround(r * std::sin(radians))));
    }

    // `count` steps without labels, at `index`, and nothing heard yet.
    void Start(int count, int index)
    {
        ControlItem item;
        item.label = "Style";
        item.stepCount = count;
        item.selectedIndex = index;
        knob.ApplyItem(item);
        ASSERT_EQ(knob.GetStepCount(), count);
        ASSERT_EQ(knob.GetSelectedIndex(), index);
        heard.clear();
        log.Clear();
    }

    // Lets the double-click time pass, so the next press is a single one.
    void Pause() { session->AdvanceTime(600); }

    Knob knob;
};

using Knobs = ::testing::Types<CSteppedKnobWnd, CSmallSteppedKnobWnd>;
TYPED_TEST_SUITE(SteppedKnobGestures, Knobs);

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

} // namespace

TYPED_TEST(SteppedKnobGestures, AValueSelectsTheNearestStepAndOnlyANewStepIsTold)
{
    struct Case
    {
        double v;
        int step;
        double value;
        bool told;
    };
    // Five steps; each case starts from step 0.
    const Case cases[] = {
        {0.6, 2, 0.5, true},    // 2.4 rounded
        {0.625, 3, 0.75, true}, // 2.5, halves away from zero
        {0.1, 0, 0.0, false},   // the same step, though 0.1 away
        {kNaN, 0, 0.0, false},  {kInf, 4, 1.0, true}, {-kInf, 0, 0.0, false}, {7.0, 4, 1.0, true},
    };
    for (const bool silently : {false, true})
    {
        for (const Case& c : cases)
        {
            SCOPED_TRACE(::testing::Message() << c.v << (silently ? " silently" : ""));
            this->Start(5, 0);
            if (silently)
            {
                this->knob.SetValueSilently(c.v);
            }
            else
            {
                this->knob.SetValue(c.v);
            }
            EXPECT_EQ(this->knob.GetSelectedIndex(), c.step);
            EXPECT_EQ(this->knob.GetValue(), c.value);
            ASSERT_EQ(this->Count(WMU_CONTROL_CHANGED), c.told && !silently ? 1 : 0);
            if (!this->heard.empty())
            {
                EXPECT_EQ(this->heard[0].value, c.value) << "stored before the parent hears";
            }
        }
    }
}

TYPED_TEST(SteppedKnobGestures, AnItemSetsTheStepsFromItsLabelsOrItsCount)
{
    std::vector<std::string> forty;
    for (int i = 0; i < 40; ++i)
    {
        forty.push_back("\xC3\xA9tape " + std::to_string(i) + " \xE2\x80\x94 \xF0\x9F\x8E\xB5");
    }
    struct Case
    {
        const char* name;
        int stepCount;
        std::vector<std::string> labels;
        int selectedIndex;
        int count;         // afterwards
        int step;          // afterwards
        std::wstring text; // shown for the step
    };
    const Case cases[] = {
        // Without labels, on a knob that has none yet.
        {"count 1", 1, {}, 1, 2, 1, L"1"},
        {"count 0 keeps 7", 0, {}, 6, 7, 6, L"6"},
        {"count -5 keeps 7", -5, {}, 2, 7, 2, L"2"},
        {"count 2e9", 2000000000, {}, 31, 32, 31, L"31"},
        {"index -3", 3, {}, -3, 3, 0, L"0"},
        {"index 999", 3, {}, 999, 3, 2, L"2"},
        {"40 labels", 0, forty, 35, 32, 31, L"\u00E9tape 31 \u2014 \U0001F3B5"},
        {"one label", 0, {"Only"}, 1, 2, 1, L"1"},
        {"one label, first step", 0, {"Only"}, 0, 2, 0, L"Only"},
        // A count without labels keeps the labels there are.
        {"count 4 after a label", 4, {}, 0, 4, 0, L"Only"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        this->Start(7, 3);
        ControlItem item;
        item.stepCount = c.stepCount;
        item.stepLabels = c.labels;
        item.selectedIndex = c.selectedIndex;
        this->knob.ApplyItem(item);
        EXPECT_EQ(this->knob.GetStepCount(), c.count);
        EXPECT_EQ(this->knob.GetSelectedIndex(), c.step);
        EXPECT_DOUBLE_EQ(this->knob.GetValue(), double(c.step) / (c.count - 1));
        EXPECT_EQ(std::wstring(this->knob.GetState().knob.stepText.GetString()), c.text);
        if (!c.labels.empty())
        {
            EXPECT_EQ(this->knob.GetStepLabels().size(), c.labels.size()) << "all kept";
        }
        this->knob.UpdateWindow(); // paints whatever it now holds
    }
}

TYPED_TEST(SteppedKnobGestures, ADragOf48PixelsRightOrUpIsOneStepAndTheReleaseCommits)
{
    this->Start(8, 3);
    // Straight below the centre within 0.55 R: the step stays and a drag starts.
    const POINT start = this->Polar(90, 0.3);
    this->session->PressButton(start);
    EXPECT_EQ(this->knob.GetSelectedIndex(), 3);
    EXPECT_TRUE(this->knob.IsDragging());
    EXPECT_EQ(::GetCapture(), this->knob.GetSafeHwnd());
    EXPECT_EQ(::GetFocus(), this->knob.GetSafeHwnd());

    this->session->MoveMouse(POINT{start.x - 48, start.y - 48}); // up and left cancel
    EXPECT_EQ(this->knob.GetSelectedIndex(), 3);
    EXPECT_TRUE(this->heard.empty());
    this->session->MoveMouse(POINT{start.x, start.y - 100}); // 2.08 steps
    EXPECT_EQ(this->knob.GetSelectedIndex(), 5);
    this->session->MoveMouse(POINT{start.x + 1000, start.y - 1000}); // far beyond the end
    EXPECT_EQ(this->knob.GetSelectedIndex(), 7);
    this->session->MoveMouse(POINT{start.x - 5000, start.y + 5000}); // and beyond the start
    EXPECT_EQ(this->knob.GetSelectedIndex(), 0);
    this->session->ReleaseButton(POINT{start.x - 5000, start.y + 5000});

    EXPECT_FALSE(this->knob.IsDragging());
    EXPECT_NE(::GetCapture(), this->knob.GetSafeHwnd());
    ASSERT_EQ(this->heard.size(), 4u);
    EXPECT_EQ(this->Count(WMU_CONTROL_CHANGED), 3);
    EXPECT_EQ(this->heard.back().message, WMU_CONTROL_COMMIT);
    EXPECT_EQ(this->heard.back().value, 0.0);
}

TYPED_TEST(SteppedKnobGestures, APressSelectsTheStepAtItsAngleAndTheGapPicksAnEnd)
{
    struct Case
    {
        const char* where;
        double angle;
        double share; // of the radius
        int step;     // of 5, from step 2
    };
    const Case cases[] = {
        {"scale start, on the ring", 135, 0.9, 0},
        {"top, on the face", 270, 0.3, 2},
        {"right, on the ring", 0, 0.9, 3}, // 225 of 270 degrees: 3.33
        {"scale end, beyond the body", 45, 1.05, 4},
        {"gap, left of the middle, far out", 100, 0.8, 0},
        {"gap, right of the middle, far out", 80, 0.8, 4},
        {"gap, straight down, far out", 90, 0.6, 4},
        {"gap, left, near the middle", 120, 0.5, 2},
        {"gap, right, near the middle", 60, 0.5, 2},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.where);
        this->Pause();
        this->Start(5, 2);
        this->session->PressButton(this->Polar(c.angle, c.share));
        EXPECT_EQ(this->knob.GetSelectedIndex(), c.step);
        EXPECT_TRUE(this->knob.IsDragging());
        this->session->ReleaseButton(this->Polar(c.angle, c.share));
        EXPECT_EQ(this->Count(WMU_CONTROL_CHANGED), c.step != 2 ? 1 : 0);
        EXPECT_EQ(this->Count(WMU_CONTROL_COMMIT), 1);
    }
}

TYPED_TEST(SteppedKnobGestures, TwoQuickClicksAreTwoPresses)
{
    this->Start(5, 0);
    const POINT top = this->Polar(270, 0.9);
    this->session->Click(top);
    EXPECT_EQ(this->knob.GetSelectedIndex(), 2);
    this->knob.SetValueSilently(0.0);
    this->session->Click(top); // the clock stands still: a double-click with CS_DBLCLKS
    EXPECT_EQ(this->knob.GetSelectedIndex(), 2) << "the second click was not a press";
    EXPECT_EQ(this->Count(WMU_CONTROL_CHANGED), 2);
    EXPECT_EQ(this->Count(WMU_CONTROL_COMMIT), 2);
}

TYPED_TEST(SteppedKnobGestures, EachWheelMessageIsOneStepAndACommit)
{
    struct Case
    {
        int from;
        int delta;
        int to;
    };
    const Case cases[] = {
        {0, -WHEEL_DELTA, 0},                                  // at the start: the commit only
        {0, WHEEL_DELTA, 1},  {2, -WHEEL_DELTA, 1}, {2, 0, 1}, // 0 counts as down
        {2, 32767, 3},        {4, WHEEL_DELTA, 4},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.from << " by " << c.delta);
        this->Start(5, c.from);
        this->session->Wheel(this->Polar(0, 0), c.delta);
        EXPECT_EQ(this->knob.GetSelectedIndex(), c.to);
        EXPECT_EQ(this->Count(WMU_CONTROL_CHANGED), c.to != c.from ? 1 : 0);
        ASSERT_EQ(this->Count(WMU_CONTROL_COMMIT), 1);
        EXPECT_EQ(this->heard.back().message, WMU_CONTROL_COMMIT);
        EXPECT_EQ(this->log.Count("parent", WM_MOUSEWHEEL), 0) << "a taken turn stays here";
    }
}

TYPED_TEST(SteppedKnobGestures, LosingTheCaptureEndsTheDragWithoutACommit)
{
    this->Start(8, 3);
    const POINT start = this->Polar(90, 0.3);
    this->session->PressButton(start);
    this->session->MoveMouse(POINT{start.x, start.y - 48});
    this->parent.SetCapture();
    EXPECT_FALSE(this->knob.IsDragging());
    this->session->MoveMouse(POINT{start.x, start.y - 200});
    this->session->ReleaseButton(POINT{start.x, start.y - 200});
    ::ReleaseCapture();
    EXPECT_EQ(this->knob.GetSelectedIndex(), 4);
    EXPECT_EQ(this->Count(WMU_CONTROL_CHANGED), 1);
    EXPECT_EQ(this->Count(WMU_CONTROL_COMMIT), 0);
}

TYPED_TEST(SteppedKnobGestures, IgnoresPressesAndTheWheelWhenDisabledOrBlank)
{
    const std::vector<std::pair<const char*, std::function<void(CBaseControlWnd&, bool)>>> cases = {
        {"blank", [](CBaseControlWnd& k, bool off) { k.SetBlank(off); }},
        {"disabled", [](CBaseControlWnd& k, bool off) { k.SetDisabled(off); }},
    };
    for (const auto& [name, turnOff] : cases)
    {
        SCOPED_TRACE(name);
        this->Pause();
        this->Start(5, 2);
        turnOff(this->knob, true);
        this->session->PressButton(this->Polar(135, 0.9));
        this->session->MoveMouse(this->Polar(45, 0.9));
        this->session->ReleaseButton(this->Polar(45, 0.9));
        this->session->Wheel(this->Polar(0, 0), WHEEL_DELTA);
        EXPECT_EQ(this->knob.GetSelectedIndex(), 2);
        EXPECT_FALSE(this->knob.IsDragging());
        EXPECT_TRUE(this->heard.empty());
        turnOff(this->knob, false);
    }
}

TYPED_TEST(SteppedKnobGestures, PointsFarOutsideTheWindowWhileCapturedAreSafe)
{
    this->Start(5, 2);
    this->session->PressButton(this->Polar(90, 0.3));
    const HWND hwnd = this->knob.GetSafeHwnd();
    for (const LPARAM at :
         {MAKELPARAM(-30000, -30000), MAKELPARAM(-1, 32767), MAKELPARAM(32767, -32768)})
    {
        ::SendMessage(hwnd, WM_MOUSEMOVE, MK_LBUTTON, at);
        ::SendMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    }
    ::SendMessage(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(-5, -5));
    EXPECT_GE(this->knob.GetSelectedIndex(), 0);
    EXPECT_LE(this->knob.GetSelectedIndex(), 4);
    EXPECT_DOUBLE_EQ(this->knob.GetValue(), this->knob.GetSelectedIndex() / 4.0);
    ::ReleaseCapture();
}

TYPED_TEST(SteppedKnobGestures, ShowsTheVerticalCursorWhileDragging)
{
    this->Start(5, 2);
    const POINT start = this->Polar(90, 0.3);
    this->session->PressButton(start);
    this->session->MoveMouse(POINT{start.x, start.y - 10});
    EXPECT_EQ(brvl::win32::StandardCursorId(this->session->ShownCursor()),
              reinterpret_cast<UINT_PTR>(IDC_SIZENS));
    this->session->ReleaseButton(POINT{start.x, start.y - 10});
}

TEST(SteppedKnobClasses, EachIsCreatedWithItsOwnDefaults)
{
    struct Case
    {
        std::function<std::unique_ptr<CSteppedKnob>()> make;
        const char* kindName;
        const wchar_t* windowName;
        CSize preferred;
        CSize span;
        const wchar_t* label;
        int step;
        double value;
        const wchar_t* text;
    };
    const Case cases[] = {
        {[] { return std::make_unique<CSteppedKnobWnd>(); }, "stepped knob",
         L"BrimvaleSteppedKnobWnd", CSize(320, 320), CSize(8, 8), L"Style", 2, 0.5, L"2"},
        {[] { return std::make_unique<CSmallSteppedKnobWnd>(); }, "small stepped knob",
         L"BrimvaleSmallSteppedKnobWnd", CSize(160, 160), CSize(4, 4), L"Mode", 0, 0.0, L"0"},
    };
    brvl::backend::HeadlessSession session;
    MessageLog log;
    RecordingWnd parent("parent", log);
    ASSERT_TRUE(parent.CreateTopLevel(CRect(0, 0, 400, 400)));
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.kindName);
        const std::unique_ptr<CSteppedKnob> knob = c.make();
        EXPECT_EQ(knob->GetKindName(), c.kindName);
        EXPECT_EQ(knob->GetPreferredSize(), c.preferred);
        EXPECT_EQ(knob->GetGridSpan(), c.span);
        EXPECT_EQ(knob->GetLabel().Str(), c.label);
        EXPECT_EQ(knob->GetStepCount(), 5);
        EXPECT_EQ(knob->GetSelectedIndex(), c.step);
        EXPECT_EQ(knob->GetValue(), c.value);
        EXPECT_FALSE(knob->GetState().knob.showPointer);
        EXPECT_EQ(std::wstring(knob->GetState().knob.stepText.GetString()), c.text);

        ASSERT_TRUE(knob->Create(CRect(CPoint(0, 0), c.preferred), &parent, 1));
        wchar_t name[64] = {};
        knob->GetWindowText(name, 64);
        EXPECT_STREQ(name, c.windowName);
        EXPECT_EQ(knob->GetStyle(), 0x54000000u);
        session->MoveMouse(ScreenPoint(*knob, 1, 1));
        EXPECT_EQ(brvl::win32::StandardCursorId(session->ShownCursor()),
                  reinterpret_cast<UINT_PTR>(IDC_HAND));
    }
}
