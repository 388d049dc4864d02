#include "controls/knobs/continuous_knob.h"

#include "controls/knobs/master_knob_lmt_wnd.h"
#include "controls/knobs/master_knob_wnd.h"
#include "controls/knobs/small_knob_wnd.h"
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

UINT_PTR CursorId(LPCTSTR cursor)
{
    return reinterpret_cast<UINT_PTR>(cursor);
}

// The three continuous knobs at their preferred sizes, used through the
// injected input of the test session.
template <typename Knob> class ContinuousKnobGestures : public ControlTest
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
        return MakeKnobGeometry(client, knob.GetKnobSize());
    }

    // The screen point `dx`, `dy` from the knob's centre.
    POINT FromCentre(int dx, int dy) const
    {
        const KnobGeometry g = Geometry();
        return At(knob, g.centerX + dx, g.centerY + dy);
    }

    // A point halfway across the press ring, in the direction (sx, sy), each
    // -1, 0 or 1 (y down): 45-degree steps whose angles are exact.
    POINT OnRing(int sx, int sy) const
    {
        const KnobGeometry g = Geometry();
        const double across = (g.pressInner + g.pressOuter) / 2;
        const int step =
            static_cast<int>(std::lround(sx != 0 && sy != 0 ? across / std::sqrt(2.0) : across));
        return FromCentre(sx * step, sy * step);
    }

    // A client point well away from the knob, in the window's corner.
    POINT Corner(int nudge = 0) const { return At(knob, 2 + nudge, 2); }

    UINT_PTR ShownCursor() { return brvl::win32::StandardCursorId(session->ShownCursor()); }

    // Lets the double-click time pass, so the next press is a single one.
    void Pause() { session->AdvanceTime(600); }

    void Start(double value)
    {
        knob.SetValueSilently(value == 0 ? 1 : 0);
        knob.SetValueSilently(value);
        heard.clear();
        log.Clear();
    }

    Knob knob;
};

using Knobs = ::testing::Types<CMasterKnobLMTWnd, CMasterKnobWnd, CSmallKnobWnd>;
TYPED_TEST_SUITE(ContinuousKnobGestures, Knobs);

} // namespace

TYPED_TEST(ContinuousKnobGestures, ADrag220PixelsHighCoversTheRangeAndCommitsOnRelease)
{
    this->Start(0.25);
    this->session->PressButton(this->FromCentre(0, 0)); // on the cap: no jump
    EXPECT_TRUE(this->knob.IsDragging());
    EXPECT_EQ(::GetCapture(), this->knob.GetSafeHwnd());
    EXPECT_EQ(::GetFocus(), this->knob.GetSafeHwnd());
    EXPECT_TRUE(this->heard.empty());

    this->session->MoveMouse(this->FromCentre(0, -44));
    EXPECT_NEAR(this->knob.GetValue(), 0.45, 1e-12);
    this->session->MoveMouse(this->FromCentre(0, -110));
    EXPECT_NEAR(this->knob.GetValue(), 0.75, 1e-12);
    this->session->MoveMouse(this->FromCentre(80, -110)); // sideways: nothing
    this->session->MoveMouse(this->FromCentre(0, -300));  // far above the window
    EXPECT_EQ(this->knob.GetValue(), 1.0);
    this->session->MoveMouse(this->FromCentre(0, -400));
    this->session->ReleaseButton(this->FromCentre(0, -400));

    EXPECT_FALSE(this->knob.IsDragging());
    EXPECT_NE(::GetCapture(), this->knob.GetSafeHwnd());
    ASSERT_EQ(this->heard.size(), 4u) << "three changes and the commit";
    EXPECT_EQ(this->Count(WMU_CONTROL_CHANGED), 3);
    EXPECT_EQ(this->heard.back().message, WMU_CONTROL_COMMIT);
    EXPECT_EQ(this->heard.back().value, 1.0);

    // Back down past the bottom, from a new press.
    this->Pause();
    this->Start(0.25);
    this->session->PressButton(this->FromCentre(0, 0));
    this->session->MoveMouse(this->FromCentre(0, 300));
    this->session->ReleaseButton(this->FromCentre(0, 300));
    EXPECT_EQ(this->knob.GetValue(), 0.0);
}

TYPED_TEST(ContinuousKnobGestures, APressOnTheRingJumpsToThatPointOfTheScale)
{
    struct Case
    {
        const char* where;
        int sx;
        int sy;
        double value;
    };
    const Case cases[] = {
        {"lower left, 135 degrees", -1, 1, 0.0}, {"top, 270 degrees", 0, -1, 0.5},
        {"lower right, 45 degrees", 1, 1, 1.0},  {"left, 180 degrees", -1, 0, 45.0 / 270},
        {"right, 0 degrees", 1, 0, 225.0 / 270},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.where);
        this->Pause();
        this->Start(0.4);
        this->session->PressButton(this->OnRing(c.sx, c.sy));
        EXPECT_NEAR(this->knob.GetValue(), c.value, 1e-12);
        EXPECT_TRUE(this->knob.IsDragging());
        ASSERT_EQ(this->Count(WMU_CONTROL_CHANGED), 1);
        this->session->ReleaseButton(this->OnRing(c.sx, c.sy));
        ASSERT_EQ(this->heard.size(), 2u);
        EXPECT_EQ(this->heard[1].message, WMU_CONTROL_COMMIT);
        EXPECT_NEAR(this->heard[1].value, c.value, 1e-12);
    }
}

TYPED_TEST(ContinuousKnobGestures, APressInTheGapOnTheFaceOrOffTheKnobStartsADragWithoutMoving)
{
    const KnobGeometry g = this->Geometry();
    const int onFace = static_cast<int>(0.9 * g.pressInner / std::sqrt(2.0));
    const std::vector<std::pair<const char*, POINT>> presses = {
        {"in the gap", this->OnRing(0, 1)},
        {"on the face", this->FromCentre(-onFace, -onFace)},
        {"off the knob", this->Corner()},
    };
    for (const auto& [where, at] : presses)
    {
        SCOPED_TRACE(where);
        this->Pause();
        this->Start(0.4);
        this->session->PressButton(at);
        EXPECT_EQ(this->knob.GetValue(), 0.4);
        EXPECT_TRUE(this->knob.IsDragging());
        EXPECT_EQ(::GetCapture(), this->knob.GetSafeHwnd());
        this->session->MoveMouse(POINT{at.x, at.y - 22});
        EXPECT_NEAR(this->knob.GetValue(), 0.5, 1e-12) << "the drag starts from the old value";
        this->session->ReleaseButton(POINT{at.x, at.y - 22});
        EXPECT_EQ(this->Count(WMU_CONTROL_COMMIT), 1);
    }
}

TYPED_TEST(ContinuousKnobGestures, LosingTheCaptureMidDragKeepsTheValueAndCommitsNothing)
{
    this->Start(0.25);
    this->session->PressButton(this->FromCentre(0, 0));
    this->session->MoveMouse(this->FromCentre(0, -44));
    this->parent.SetCapture(); // another window takes the mouse
    EXPECT_FALSE(this->knob.IsDragging());
    this->session->MoveMouse(this->FromCentre(0, -150));
    this->session->ReleaseButton(this->FromCentre(0, -150));
    ::ReleaseCapture();

    EXPECT_NEAR(this->knob.GetValue(), 0.45, 1e-12);
    EXPECT_EQ(this->Count(WMU_CONTROL_CHANGED), 1);
    EXPECT_EQ(this->Count(WMU_CONTROL_COMMIT), 0);
}

TYPED_TEST(ContinuousKnobGestures, EachWheelMessageIsOneStepAndACommit)
{
    struct Case
    {
        double from;
        int delta;
        double to;
    };
    const Case cases[] = {
        {0.5, WHEEL_DELTA, 0.52}, {0.5, -WHEEL_DELTA, 0.48}, {0.5, 0, 0.48}, // 0 counts as down
        {0.5, 32767, 0.52},       {0.5, -32767, 0.48},       {0.5, 1, 0.52},
        {1.0, WHEEL_DELTA, 1.0},  {0.0, -WHEEL_DELTA, 0.0},  {0.99, WHEEL_DELTA, 1.0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.from << " by " << c.delta);
        this->Start(c.from);
        this->session->Wheel(this->FromCentre(0, 0), c.delta);
        EXPECT_NEAR(this->knob.GetValue(), c.to, 1e-12);
        EXPECT_EQ(this->Count(WMU_CONTROL_CHANGED), c.to != c.from ? 1 : 0);
        ASSERT_EQ(this->Count(WMU_CONTROL_COMMIT), 1) << "also at the limit";
        EXPECT_EQ(this->heard.back().message, WMU_CONTROL_COMMIT);
        EXPECT_EQ(this->log.Count("parent", WM_MOUSEWHEEL), 0) << "a taken turn stays here";
    }
}

TYPED_TEST(ContinuousKnobGestures, ADoubleClickReturnsToTheDefaultAndCommits)
{
    struct Case
    {
        const char* name;
        std::function<void(CBaseControlWnd&)> setDefault;
        double value;
    };
    const Case cases[] = {
        {"never set", [](CBaseControlWnd&) {}, 0.0},
        {"set", [](CBaseControlWnd& k) { k.SetDefaultValue(0.3); }, 0.3},
        {"above the range", [](CBaseControlWnd& k) { k.SetDefaultValue(2.5); }, 1.0},
        {"NaN, after 0.3",
         [](CBaseControlWnd& k)
         {
             k.SetDefaultValue(0.3);
             k.SetDefaultValue(std::numeric_limits<double>::quiet_NaN());
         },
         0.3},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        this->Pause();
        c.setDefault(this->knob);
        this->Start(0.6);
        this->session->Click(this->FromCentre(0, 0));
        this->session->Click(this->FromCentre(0, 0)); // the clock stands still: a double-click
        EXPECT_EQ(this->knob.GetValue(), c.value);
        ASSERT_FALSE(this->heard.empty());
        EXPECT_EQ(this->heard.back().message, WMU_CONTROL_COMMIT);
        EXPECT_EQ(this->heard.back().value, c.value);
        EXPECT_FALSE(this->knob.IsDragging());
    }
}

TYPED_TEST(ContinuousKnobGestures, ShowsTheVerticalCursorOverTheKnobAndWhileDragging)
{
    const KnobGeometry g = this->Geometry();
    const int nearEdge = g.radius + 5; // outside the body, inside the hover ring
    this->session->MoveMouse(this->FromCentre(0, -nearEdge));
    EXPECT_TRUE(this->knob.IsHovered());
    EXPECT_EQ(this->ShownCursor(), CursorId(IDC_SIZENS));

    this->session->MoveMouse(this->Corner());
    this->session->MoveMouse(this->Corner(1));
    EXPECT_FALSE(this->knob.IsHovered());
    EXPECT_EQ(this->ShownCursor(), CursorId(IDC_HAND)) << "the class cursor elsewhere";

    this->session->PressButton(this->Corner(1));
    this->session->MoveMouse(this->FromCentre(0, 0));
    this->session->MoveMouse(this->Corner(2));
    EXPECT_EQ(this->ShownCursor(), CursorId(IDC_SIZENS)) << "dragging";
    this->session->ReleaseButton(this->Corner(2));
    this->session->MoveMouse(this->Corner(3));
    EXPECT_EQ(this->ShownCursor(), CursorId(IDC_HAND));

    this->knob.SetDisabled(true);
    this->session->MoveMouse(this->FromCentre(0, 0));
    this->session->MoveMouse(this->FromCentre(0, 1));
    EXPECT_NE(this->ShownCursor(), CursorId(IDC_SIZENS)) << "disabled";
}

TYPED_TEST(ContinuousKnobGestures, HoverStaysWhenThePointerLeavesStraightFromTheKnob)
{
    this->session->MoveMouse(this->FromCentre(0, 0));
    EXPECT_TRUE(this->knob.IsHovered());
    this->session->MoveMouse(ScreenPoint(this->parent, 700, 500)); // beside the knob, in the parent
    EXPECT_TRUE(this->knob.IsHovered()) << "the knob does not track the pointer leaving";
}

TYPED_TEST(ContinuousKnobGestures, IgnoresEveryGestureWhenDisabledBlankOrItsWindowIsDisabled)
{
    struct Case
    {
        const char* name;
        std::function<void(CBaseControlWnd&, bool)> turnOff;
    };
    const Case cases[] = {
        {"blank", [](CBaseControlWnd& k, bool off) { k.SetBlank(off); }},
        {"disabled", [](CBaseControlWnd& k, bool off) { k.SetDisabled(off); }},
        {"window disabled", [](CBaseControlWnd& k, bool off) { k.EnableWindow(!off); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        this->Pause();
        this->Start(0.4);
        c.turnOff(this->knob, true);
        const HWND hwnd = this->knob.GetSafeHwnd();

        // Through the screen: a press on the ring, a drag, the wheel, a double-click.
        this->session->PressButton(this->OnRing(0, -1));
        this->session->MoveMouse(this->OnRing(-1, -1));
        this->session->ReleaseButton(this->OnRing(-1, -1));
        this->session->Wheel(this->FromCentre(0, 0), WHEEL_DELTA);
        this->session->Click(this->FromCentre(0, 0));
        this->session->Click(this->FromCentre(0, 0));
        if (std::string(c.name) != "window disabled") // else the parent is under the pointer
        {
            EXPECT_EQ(this->log.Count("parent", WM_MOUSEWHEEL), 0);
        }

        // The same straight to the knob, whatever the routing makes of it.
        this->log.Clear();
        const LPARAM onRing = MAKELPARAM(this->Geometry().centerX, this->Geometry().centerY - 80);
        ::SendMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, onRing);
        ::SendMessage(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));
        ::SendMessage(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        ::SendMessage(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, onRing);
        const POINT centre = this->FromCentre(0, 0);
        EXPECT_EQ(::SendMessage(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA),
                                MAKELPARAM(centre.x, centre.y)),
                  FALSE);
        EXPECT_EQ(this->log.Count("parent", WM_MOUSEWHEEL), 0) << "an ignored turn goes nowhere";

        EXPECT_EQ(this->knob.GetValue(), 0.4);
        EXPECT_FALSE(this->knob.IsDragging());
        EXPECT_NE(::GetCapture(), hwnd);
        EXPECT_TRUE(this->heard.empty());
        if (std::string(c.name) == "blank")
        {
            EXPECT_FALSE(this->knob.IsHovered()) << "a blank knob takes no hover"; // none before
        }
        c.turnOff(this->knob, false);
    }
}

TYPED_TEST(ContinuousKnobGestures, DisablingMidDragEndsTheDragWithoutACommit)
{
    this->Start(0.25);
    this->session->PressButton(this->FromCentre(0, 0));
    this->session->MoveMouse(this->FromCentre(0, -22));
    this->knob.SetDisabled(true);
    this->session->MoveMouse(this->FromCentre(0, -100));
    this->session->ReleaseButton(this->FromCentre(0, -100));
    EXPECT_NEAR(this->knob.GetValue(), 0.35, 1e-12);
    EXPECT_EQ(this->Count(WMU_CONTROL_COMMIT), 0);
}

TYPED_TEST(ContinuousKnobGestures, SurvivesAParentThatDestroysItWhileHearingOfAChange)
{
    using Knob = TypeParam;
    // Each ends in a change. The points are reckoned from the knob's screen
    // origin taken beforehand, for the knob may be gone halfway; it sits where
    // the fixture's does, at the same size.
    const std::vector<std::pair<const char*, std::function<void(POINT)>>> gestures = {
        {"drag",
         [this](POINT o)
         {
             this->session->PressButton(POINT{o.x + 5, o.y + 5});
             this->session->MoveMouse(POINT{o.x + 5, o.y - 100});
             this->session->MoveMouse(POINT{o.x + 5, o.y - 200});
             this->session->ReleaseButton(POINT{o.x + 5, o.y - 200});
         }},
        {"press on the ring",
         [this](POINT o)
         {
             const KnobGeometry g = this->Geometry();
             this->session->PressButton(POINT{o.x + g.centerX, o.y + g.centerY - g.radius});
             this->session->ReleaseButton(POINT{o.x + g.centerX, o.y + g.centerY - g.radius});
         }},
        {"wheel",
         [this](POINT o) {
             this->session->Wheel(POINT{o.x + 5, o.y + 5}, -WHEEL_DELTA);
         }},
        {"double-click",
         [this](POINT o)
         {
             this->session->Click(POINT{o.x + 5, o.y + 5});
             this->session->Click(POINT{o.x + 5, o.y + 5});
         }},
    };
    this->knob.ShowWindow(SW_HIDE);
    for (const auto& [name, gesture] : gestures)
    {
        for (const bool deleteObject : {false, true})
        {
            SCOPED_TRACE(::testing::Message()
                         << name << (deleteObject ? ", object deleted" : ", window destroyed"));
            this->Pause();
            auto owned = std::make_unique<Knob>();
            this->CreateIn(*owned, CRect(CPoint(20, 20), owned->GetPreferredSize()), 2);
            owned->SetValueSilently(0.6);
            owned->SetDefaultValue(0.1);
            const HWND hwnd = owned->GetSafeHwnd();
            this->parent.On(WMU_CONTROL_CHANGED,
                            [&](WPARAM, LPARAM) -> std::optional<LRESULT>
                            {
                                if (deleteObject)
                                {
                                    owned.reset();
                                }
                                else if (owned)
                                {
                                    owned->DestroyWindow();
                                }
                                return 0;
                            });
            gesture(ScreenPoint(*owned, 0, 0));
            EXPECT_FALSE(::IsWindow(hwnd));
            this->parent.On(WMU_CONTROL_CHANGED,
                            [](WPARAM, LPARAM) -> std::optional<LRESULT> { return 0; });
            ::ReleaseCapture();
        }
    }
}

TYPED_TEST(ContinuousKnobGestures, ABipolarItemDrawsFromTheMiddle)
{
    ControlItem item;
    item.value = 0.5;
    for (const auto& [mode, bipolar] :
         std::vector<std::pair<int, bool>>{{2, true}, {2, true}, {1, false}, {2, true}, {0, false}})
    {
        this->knob.UpdateWindow();
        const bool changes = bipolar != this->knob.IsBipolar();
        item.valueMode = mode;
        this->knob.ApplyItem(item);
        EXPECT_EQ(this->knob.IsBipolar(), bipolar) << mode;
        if (changes)
        {
            EXPECT_TRUE(::GetUpdateRect(this->knob.GetSafeHwnd(), nullptr, FALSE));
        }
    }
}

TEST(ContinuousKnobClasses, EachIsCreatedWithItsOwnDefaults)
{
    struct Case
    {
        std::function<std::unique_ptr<CContinuousKnob>()> make;
        const char* kindName;
        const wchar_t* windowName;
        CSize preferred;
        CSize span;
        const wchar_t* label;
    };
    const Case cases[] = {
        {[] { return std::make_unique<CMasterKnobLMTWnd>(); }, "master knob lmt",
         L"BrimvaleMasterKnobLMTWnd", CSize(240, 320), CSize(6, 8), L"Intensity"},
        {[] { return std::make_unique<CMasterKnobWnd>(); }, "master knob", L"BrimvaleMasterKnobWnd",
         CSize(240, 320), CSize(6, 8), L"Intensity"},
        {[] { return std::make_unique<CSmallKnobWnd>(); }, "small knob", L"BrimvaleSmallKnobWnd",
         CSize(160, 160), CSize(4, 4), L"Tone"},
    };
    brvl::backend::HeadlessSession session;
    MessageLog log;
    RecordingWnd parent("parent", log);
    ASSERT_TRUE(parent.CreateTopLevel(CRect(0, 0, 400, 400)));
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.kindName);
        const std::unique_ptr<CContinuousKnob> knob = c.make();
        EXPECT_EQ(knob->GetKindName(), c.kindName);
        EXPECT_EQ(knob->GetPreferredSize(), c.preferred);
        EXPECT_EQ(knob->GetGridSpan(), c.span);
        EXPECT_EQ(knob->GetLabel().Str(), c.label);
        EXPECT_EQ(knob->GetValue(), 0.0);
        EXPECT_FALSE(knob->IsBipolar());
        EXPECT_TRUE(knob->IsKindOf(RUNTIME_CLASS(CBaseControlWnd)));

        ASSERT_TRUE(knob->Create(CRect(CPoint(0, 0), c.preferred), &parent, 1));
        wchar_t name[64] = {};
        knob->GetWindowText(name, 64);
        EXPECT_STREQ(name, c.windowName);
        EXPECT_EQ(knob->GetStyle(), 0x54000000u);
        session->MoveMouse(ScreenPoint(*knob, 1, 1));
        EXPECT_EQ(brvl::win32::StandardCursorId(session->ShownCursor()), CursorId(IDC_HAND));
    }
}
