#include "controls/sliders/linear_slider.h"

#include "controls/layout/control_item.h"
#include "controls/sliders/horizontal_slider_wnd.h"
#include "controls/sliders/vertical_slider_wnd.h"
#include "platform/win32/backend_bridge.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{

// A slider in the recording parent, used through the injected input.
class SliderTest : public ControlTest
{
protected:
    void Place(CLinearSlider& slider, CSize size, bool bipolar = false)
    {
        CreateIn(slider, CRect(CPoint(20, 20), size));
        if (bipolar)
        {
            ControlItem item;
            item.valueMode = 2;
            item.label = "Amount";
            item.value = 0.5;
            slider.ApplyItem(item);
        }
        heard.clear();
        log.Clear();
    }

    void Start(CLinearSlider& slider, double value)
    {
        slider.SetValueSilently(value);
        heard.clear();
        log.Clear();
        session->AdvanceTime(600);
    }

    std::vector<UINT> Messages() const
    {
        std::vector<UINT> messages;
        for (const Heard& h : heard)
        {
            messages.push_back(h.message);
        }
        return messages;
    }

    CHorizontalSliderWnd horizontal;
    CVerticalSliderWnd vertical;
};

const std::vector<UINT> kChangeAndCommit = {WMU_CONTROL_CHANGED, WMU_CONTROL_COMMIT};

} // namespace

TEST_F(SliderTest, APressOnTheTrackJumpsThereAndADragFollowsThePointer)
{
    Place(horizontal, CSize(160, 80));
    struct Case
    {
        int x;
        bool taken;
        double value;
    };
    const Case presses[] = {
        {80, true, 0.5}, {10, true, 0.0}, {2, false, 0.3}, {6, true, 0.0}, {150, true, 1.0}};
    for (const Case& c : presses)
    {
        SCOPED_TRACE(c.x);
        Start(horizontal, 0.3);
        session->PressButton(At(horizontal, c.x, 48));
        EXPECT_EQ(horizontal.IsDragging(), c.taken);
        EXPECT_EQ(::GetCapture() == horizontal.GetSafeHwnd(), c.taken);
        EXPECT_DOUBLE_EQ(horizontal.GetValue(), c.value);
        EXPECT_EQ(Count(WMU_CONTROL_CHANGED), c.taken ? 1 : 0);
        session->ReleaseButton(At(horizontal, c.x, 48));
        EXPECT_EQ(Count(WMU_CONTROL_COMMIT), c.taken ? 1 : 0);
    }

    Start(horizontal, 0.3);
    session->PressButton(At(horizontal, 80, 48));
    session->MoveMouse(At(horizontal, 112, 10)); // above the track: only x counts
    EXPECT_DOUBLE_EQ(horizontal.GetValue(), 0.75);
    session->MoveMouse(At(horizontal, 500, 48));
    EXPECT_EQ(horizontal.GetValue(), 1.0);
    session->ReleaseButton(At(horizontal, 500, 48));
    EXPECT_EQ(Messages(), (std::vector<UINT>{WMU_CONTROL_CHANGED, WMU_CONTROL_CHANGED,
                                             WMU_CONTROL_CHANGED, WMU_CONTROL_COMMIT}));
    EXPECT_EQ(heard.back().value, 1.0);
}

TEST_F(SliderTest, TheVerticalSliderGrowsUpwards)
{
    Place(vertical, CSize(80, 320));
    for (const auto& [y, value] : std::vector<std::pair<int, double>>{{270, 0.0}, {48, 1.0}})
    {
        Start(vertical, 0.5);
        session->Click(At(vertical, 40, y));
        EXPECT_EQ(vertical.GetValue(), value) << y;
        EXPECT_EQ(Messages(), kChangeAndCommit);
    }
}

TEST_F(SliderTest, AReleaseCommitsEvenWithoutAMoveButALostCaptureDoesNot)
{
    Place(horizontal, CSize(160, 80));
    Start(horizontal, 0.5);
    session->PressButton(At(horizontal, 80, 48)); // on the thumb: no change
    session->ReleaseButton(At(horizontal, 80, 48));
    EXPECT_EQ(Messages(), std::vector<UINT>{WMU_CONTROL_COMMIT});

    Start(horizontal, 0.5);
    session->PressButton(At(horizontal, 80, 48));
    session->MoveMouse(At(horizontal, 112, 48));
    parent.SetCapture();
    EXPECT_FALSE(horizontal.IsDragging());
    session->MoveMouse(At(horizontal, 16, 48));
    session->ReleaseButton(At(horizontal, 16, 48));
    ::ReleaseCapture();
    EXPECT_DOUBLE_EQ(horizontal.GetValue(), 0.75) << "stays where the drag left it";
    EXPECT_EQ(Messages(), std::vector<UINT>{WMU_CONTROL_CHANGED});
}

TEST_F(SliderTest, EachWheelStepOverTheTrackMovesByTwoHundredthsAndCommits)
{
    Place(horizontal, CSize(160, 80));
    struct Case
    {
        double from;
        int delta;
        double to;
    };
    const Case cases[] = {{0.99, WHEEL_DELTA, 1.0}, {1.0, WHEEL_DELTA, 1.0},
                          {0.5, 0, 0.48},           {0.5, -32767, 0.48},
                          {0.5, 1, 0.52},           {0.0, -WHEEL_DELTA, 0.0}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.from << " by " << c.delta);
        Start(horizontal, c.from);
        session->Wheel(At(horizontal, 80, 50), c.delta);
        EXPECT_NEAR(horizontal.GetValue(), c.to, 1e-12);
        EXPECT_EQ(Messages(), c.to != c.from ? kChangeAndCommit : std::vector<UINT>{});
        EXPECT_EQ(log.Count("parent", WM_MOUSEWHEEL), 0) << "handled, also at an end";
    }

    // Over the caption, outside the hit area: the parent gets the turn.
    Start(horizontal, 0.5);
    session->Wheel(At(horizontal, 30, 14), WHEEL_DELTA);
    EXPECT_EQ(horizontal.GetValue(), 0.5);
    EXPECT_TRUE(heard.empty());
    EXPECT_EQ(log.Count("parent", WM_MOUSEWHEEL), 1);

    // Disabled, the turn goes on to the parent too.
    horizontal.SetDisabled(true);
    Start(horizontal, 0.5);
    session->Wheel(At(horizontal, 80, 48), WHEEL_DELTA);
    EXPECT_EQ(horizontal.GetValue(), 0.5);
    EXPECT_EQ(log.Count("parent", WM_MOUSEWHEEL), 1);
}

TEST_F(SliderTest, ADoubleClickReturnsToTheDefault)
{
    Place(horizontal, CSize(160, 80));
    horizontal.SetDefaultValue(0.3);
    Start(horizontal, 0.9);
    session->Click(At(horizontal, 112, 48)); // to 0.75, committed
    session->Click(At(horizontal, 112, 48)); // the clock stands still: a double-click
    EXPECT_DOUBLE_EQ(horizontal.GetValue(), 0.3);
    ASSERT_EQ(heard.size(), 4u);
    EXPECT_EQ(heard[2].message, WMU_CONTROL_CHANGED);
    EXPECT_DOUBLE_EQ(heard[2].value, 0.3);
    EXPECT_EQ(heard[3].message, WMU_CONTROL_COMMIT);

    // Disabled: nothing, wherever it lands (the message straight to it).
    horizontal.SetDisabled(true);
    Start(horizontal, 0.9);
    ::SendMessage(horizontal.GetSafeHwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(80, 48));
    ::SendMessage(horizontal.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(80, 48));
    EXPECT_EQ(horizontal.GetValue(), 0.9);
    EXPECT_FALSE(horizontal.IsDragging());
    EXPECT_TRUE(heard.empty());

    // Blank: the reset still works, the pointer's place untested.
    horizontal.SetDisabled(false);
    horizontal.SetBlank(true);
    Start(horizontal, 0.9);
    ::SendMessage(horizontal.GetSafeHwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_DOUBLE_EQ(horizontal.GetValue(), 0.3);
    EXPECT_EQ(Messages(), kChangeAndCommit);
}

TEST_F(SliderTest, HoverFollowsThePointerOverTheHitAreaAndStaysWhenItLeaves)
{
    Place(horizontal, CSize(160, 80));
    session->MoveMouse(At(horizontal, 80, 48));
    EXPECT_TRUE(horizontal.IsHovered());
    session->MoveMouse(At(horizontal, 80, 20));
    EXPECT_FALSE(horizontal.IsHovered());
    session->MoveMouse(At(horizontal, 80, 50));
    session->MoveMouse(ScreenPoint(parent, 700, 500));
    EXPECT_TRUE(horizontal.IsHovered()) << "no leave tracking";
}

TEST_F(SliderTest, ABipolarSliderReadsFromTheMiddle)
{
    Place(vertical, CSize(80, 320), true);
    EXPECT_EQ(vertical.GetBipolar(), 1);
    Start(vertical, 0.2);
    session->Click(At(vertical, 40, 159));
    EXPECT_DOUBLE_EQ(vertical.GetValue(), 0.5);

    ControlItem item;
    item.valueMode = 1;
    vertical.ApplyItem(item);
    EXPECT_EQ(vertical.GetBipolar(), 0);
}

// A slider too small for its track still takes a press on its thumb, which
// reads as the low end (or the middle when bipolar).
TEST_F(SliderTest, ASliderTooSmallForItsTrackSetsItsEndOrMiddle)
{
    struct Case
    {
        bool horizontalKind;
        CSize size;
        bool bipolar;
        double value;
    };
    const Case cases[] = {
        {true, CSize(32, 80), false, 0.0},  {true, CSize(32, 80), true, 0.5},
        {false, CSize(80, 98), false, 0.0}, {false, CSize(80, 98), true, 0.5},
        {true, CSize(10, 10), false, 0.0},  {false, CSize(10, 10), true, 0.5},
        {false, CSize(32, 80), false, 0.0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << (c.horizontalKind ? "horizontal " : "vertical ")
                                          << c.size.cx << " x " << c.size.cy);
        std::unique_ptr<CLinearSlider> slider;
        if (c.horizontalKind)
        {
            slider = std::make_unique<CHorizontalSliderWnd>();
        }
        else
        {
            slider = std::make_unique<CVerticalSliderWnd>();
        }
        Place(*slider, c.size, c.bipolar);
        slider->SetValueSilently(0.8);
        heard.clear();
        slider->UpdateWindow();
        const SliderLayout layout = slider->Layout();
        // Straight to the window: on the smallest the thumb lies outside it.
        const LPARAM onThumb = MAKELPARAM(layout.thumbX, layout.thumbY);
        ::SendMessage(slider->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, onThumb);
        ::SendMessage(slider->GetSafeHwnd(), WM_LBUTTONUP, 0, onThumb);
        EXPECT_EQ(slider->GetValue(), c.value);
        EXPECT_EQ(Messages(), kChangeAndCommit);
        slider->DestroyWindow();
    }
}

TEST(SliderClasses, EachIsCreatedWithItsOwnDefaults)
{
    struct Case
    {
        std::function<std::unique_ptr<CLinearSlider>()> make;
        const char* kindName;
        const wchar_t* windowName;
        CSize preferred;
        CSize span;
    };
    const Case cases[] = {
        {[] { return std::make_unique<CHorizontalSliderWnd>(); }, "horizontal slider",
         L"BrimvaleHorizontalSliderWnd", CSize(160, 80), CSize(4, 2)},
        {[] { return std::make_unique<CVerticalSliderWnd>(); }, "vertical slider",
         L"BrimvaleVerticalSliderWnd", CSize(80, 320), CSize(2, 8)},
    };
    brvl::backend::HeadlessSession session;
    MessageLog log;
    RecordingWnd parent("parent", log);
    ASSERT_TRUE(parent.CreateTopLevel(CRect(0, 0, 400, 400)));
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.kindName);
        const std::unique_ptr<CLinearSlider> slider = c.make();
        EXPECT_EQ(slider->GetKindName(), c.kindName);
        EXPECT_EQ(slider->GetPreferredSize(), c.preferred);
        EXPECT_EQ(slider->GetGridSpan(), c.span);
        EXPECT_EQ(slider->GetLabel().Str(), L"Amount");
        EXPECT_EQ(slider->GetBipolar(), 0);
        EXPECT_EQ(slider->GetValue(), 0.0);

        ASSERT_TRUE(slider->Create(CRect(CPoint(0, 0), c.preferred), &parent, 1));
        wchar_t name[64] = {};
        slider->GetWindowText(name, 64);
        EXPECT_STREQ(name, c.windowName);
        EXPECT_EQ(slider->GetStyle(), 0x54000000u);
        session->MoveMouse(ScreenPoint(*slider, 1, 1));
        EXPECT_EQ(brvl::win32::StandardCursorId(session->ShownCursor()),
                  reinterpret_cast<UINT_PTR>(IDC_HAND));
    }
}
