#include "controls/switches/segment_switch_wnd.h"

#include "controls/layout/control_item.h"
#include "platform/win32/window_picture.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

namespace
{

std::vector<std::wstring> ShownTexts(const CSelectionControl& control)
{
    const SegmentSwitchState s = control.GetSwitchState();
    std::vector<std::wstring> texts;
    for (int i = 0; i < s.count; ++i)
    {
        texts.push_back(SelectionItemText(s, i).Str());
    }
    return texts;
}

class SegmentSwitch : public ControlTest
{
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        CreateIn(segments, CRect(20, 20, 180, 100));
    }

    // The middle of segment i of the preferred size's strip (14..146, 24..62).
    POINT Segment(int i) const
    {
        const int width = 132 / segments.GetCount();
        return At(segments, 14 + i * width + width / 2, 43);
    }

    CSegmentSwitchWnd segments;
};

} // namespace

TEST_F(SegmentSwitch, ValuesSelectByRoundingHalvesAwayFromZero)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case
    {
        int count;
        int from;
        double input;
        int index;
    };
    const Case cases[] = {
        {3, 0, 0.74, 1},  {3, 0, 0.75, 2}, {3, 2, 0.24, 0}, {3, 0, 0.25, 1}, {3, 0, 7.0, 2},
        {3, 2, -inf, 0},  {3, 0, inf, 2},  {3, 2, nan, 2},  {3, 0, nan, 0},  {5, 0, 0.375, 2},
        {5, 0, 0.374, 1}, {2, 0, 0.5, 1},  {1, 0, 1.0, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.count << " segments at " << c.input);
        segments.SetLabels(std::vector<CString>(size_t(c.count), CString(L"x")));
        for (const bool silently : {false, true})
        {
            segments.SetSelectedIndex(c.from);
            heard.clear();
            if (silently)
            {
                segments.SetValueSilently(c.input);
            }
            else
            {
                segments.SetValue(c.input);
            }
            EXPECT_EQ(segments.GetSelectedIndex(), c.index);
            EXPECT_EQ(segments.GetValue(), c.count > 1 ? double(c.index) / (c.count - 1) : 0.0);
            EXPECT_EQ(Count(WMU_CONTROL_CHANGED), !silently && c.index != c.from ? 1 : 0);
        }
    }
}

TEST_F(SegmentSwitch, SelectionIsClampedAndNotifiedOncePerChange)
{
    for (const auto& [index, kept, messages] : std::vector<std::tuple<int, int, int>>{
             {7, 2, 1}, {7, 2, 0}, {999, 2, 0}, {-5, 0, 1}, {1, 1, 1}})
    {
        heard.clear();
        segments.SetSelectedIndex(index);
        EXPECT_EQ(segments.GetSelectedIndex(), kept) << index;
        ASSERT_EQ(Count(WMU_CONTROL_CHANGED), messages) << index;
        if (messages > 0)
        {
            EXPECT_EQ(heard[0].value, kept / 2.0);
        }
    }
}

TEST_F(SegmentSwitch, StepCountsAndLabelsFromItemsAndSetters)
{
    EXPECT_EQ(ShownTexts(segments), (std::vector<std::wstring>{L"A", L"B", L"C"}));
    EXPECT_EQ(segments.GetLabel().Str(), L"Mode");
    EXPECT_EQ(segments.GetKindName(), "segment switch");
    EXPECT_EQ(segments.GetGridSpan(), CSize(4, 2));

    struct Case
    {
        int stepCount;
        int count; // from three segments
    };
    for (const Case c : {Case{5, 5}, Case{1, 2}, Case{0, 3}, Case{-1, 3}, Case{2000000000, 32}})
    {
        segments.SetLabels({L"A", L"B", L"C"});
        ControlItem item;
        item.stepCount = c.stepCount;
        item.selectedIndex = 9;
        segments.ApplyItem(item);
        EXPECT_EQ(segments.GetCount(), c.count) << c.stepCount;
        EXPECT_EQ(segments.GetSelectedIndex(), std::min(9, c.count - 1)) << c.stepCount;
        segments.UpdateWindow(); // paints no more than fits
    }
    ControlItem five;
    five.stepCount = 5;
    segments.SetLabels({L"A", L"B", L"C"});
    segments.ApplyItem(five);
    EXPECT_EQ(ShownTexts(segments), (std::vector<std::wstring>{L"A", L"B", L"C", L"4", L"5"}));

    // Labels from an item replace the list; empty lists change nothing.
    ControlItem labelled;
    labelled.stepLabels = {"Low", "\xc3\xa9lev\xc3\xa9"};
    labelled.stepCount = 7;
    segments.ApplyItem(labelled);
    EXPECT_EQ(ShownTexts(segments), (std::vector<std::wstring>{L"Low", L"\u00e9lev\u00e9"}));
    heard.clear();
    segments.SetSelectedIndex(1);
    segments.SetLabels({});
    EXPECT_EQ(segments.GetCount(), 2);

    // A thousand labels: all kept, the first 32 shown; shrinking moves the
    // selection silently.
    std::vector<CString> many;
    for (int i = 0; i < 1000; ++i)
    {
        many.emplace_back(std::to_wstring(i).c_str());
    }
    segments.SetLabels(many);
    EXPECT_EQ(segments.GetLabels().size(), 1000u);
    EXPECT_EQ(segments.GetCount(), 32);
    segments.SetSelectedIndex(31);
    segments.UpdateWindow();
    heard.clear();
    segments.SetLabels({L"&", L"<b>", L"&&>"});
    EXPECT_EQ(segments.GetSelectedIndex(), 2);
    EXPECT_EQ(segments.GetValue(), 1.0);
    EXPECT_TRUE(heard.empty());
    segments.UpdateWindow();
}

TEST_F(SegmentSwitch, AClickSelectsAndCommitsEvenWhenAlreadySelected)
{
    session->Click(Segment(2));
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].message, WMU_CONTROL_CHANGED);
    EXPECT_EQ(heard[1].message, WMU_CONTROL_COMMIT);
    EXPECT_EQ(heard[1].value, 1.0);

    heard.clear();
    session->AdvanceTime(600);
    session->Click(Segment(2));
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].message, WMU_CONTROL_COMMIT);

    // Released on another segment or off the strip: nothing.
    heard.clear();
    for (const POINT release : {Segment(0), At(segments, 80, 5)})
    {
        session->AdvanceTime(600);
        session->PressButton(Segment(1));
        session->MoveMouse(release);
        session->ReleaseButton(release);
    }
    EXPECT_EQ(segments.GetSelectedIndex(), 2);
    EXPECT_TRUE(heard.empty());

    // A capture loss ends the press without a commit.
    session->AdvanceTime(600);
    session->PressButton(Segment(0));
    parent.SetCapture();
    session->ReleaseButton(Segment(0));
    ::ReleaseCapture();
    EXPECT_EQ(segments.GetSwitchState().pressedIndex, -1);
    EXPECT_TRUE(heard.empty());
}

TEST_F(SegmentSwitch, TheWheelStepsAndCommitsEvenAtTheEnds)
{
    struct Case
    {
        short delta;
        int index;
        int changes;
    };
    // From 0: forward twice, past the end, then back (a zero delta steps back).
    const Case cases[] = {{WHEEL_DELTA, 1, 1}, {WHEEL_DELTA, 2, 1},  {WHEEL_DELTA, 2, 0},
                          {0, 1, 1},           {-WHEEL_DELTA, 0, 1}, {-WHEEL_DELTA, 0, 0}};
    for (const Case& c : cases)
    {
        heard.clear();
        session->Wheel(Segment(1), c.delta);
        EXPECT_EQ(segments.GetSelectedIndex(), c.index);
        EXPECT_EQ(Count(WMU_CONTROL_CHANGED), c.changes);
        ASSERT_EQ(Count(WMU_CONTROL_COMMIT), 1);
        EXPECT_EQ(heard.back().message, WMU_CONTROL_COMMIT);
    }

    heard.clear();
    segments.SetDisabled(true);
    const POINT screen = Segment(1);
    EXPECT_EQ(::SendMessage(segments.GetSafeHwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA),
                            MAKELPARAM(WORD(screen.x), WORD(screen.y))),
              FALSE);
    EXPECT_TRUE(heard.empty());
}

TEST_F(SegmentSwitch, HitTestDividesTheStripEvenly)
{
    const std::pair<CPoint, int> cases[] = {
        {CPoint(14, 24), 0},  {CPoint(57, 40), 0},   {CPoint(58, 40), 1},  {CPoint(145, 61), 2},
        {CPoint(13, 40), -1}, {CPoint(146, 40), -1}, {CPoint(60, 23), -1}, {CPoint(60, 62), -1},
    };
    for (const auto& [point, index] : cases)
    {
        EXPECT_EQ(segments.HitTest(point), index) << point.x << ", " << point.y;
    }
    // A strip narrower than its segments: every point is some segment in range.
    segments.MoveWindow(20, 20, 40, 80);
    ControlItem item;
    item.stepCount = 32;
    segments.ApplyItem(item);
    for (int x = 14; x < 26; ++x)
    {
        const int index = segments.HitTest(CPoint(x, 40));
        EXPECT_GE(index, 0);
        EXPECT_LT(index, 32);
    }
}

TEST_F(SegmentSwitch, PicturesOfThreeAndFiveSegments)
{
    ControlItem five;
    five.label = "Tabs";
    five.stepLabels = {"Reference", "Energy", "Spectrum", "Stereo", "Activity"};
    for (const CSize size : {CSize(160, 80), CSize(320, 70)})
    {
        for (const int count : {3, 5})
        {
            CSegmentSwitchWnd control;
            CreateIn(control, CRect(CPoint(20, 120), size), 2);
            if (count == 5)
            {
                control.ApplyItem(five);
            }
            control.SetSelectedIndex(count - 1);
            const int width = (size.cx - 28) / count;
            session->MoveMouse(At(control, 14 + width / 2, size.cy / 2 + 3)); // hover the first
            ASSERT_EQ(control.GetSwitchState().hoverIndex, 0);
            const std::string name = "segment_switch_" + std::to_string(count) + "_" +
                                     std::to_string(size.cx) + "x" + std::to_string(size.cy);
            ASSERT_TRUE(RenderWindowToPng(control.GetSafeHwnd(), ControlPicturePath(name)));

            WindowPicture picture;
            ASSERT_TRUE(ComposeWindowPicture(control.GetSafeHwnd(), picture));
            const COLORREF selected =
                picture.ColorAt(14 + (count - 1) * width + 6, size.cy / 2 + 3);
            EXPECT_GT(GetRValue(selected), 150) << name;
        }
    }

    // Without a window: the renderer paints the background, blank or not.
    Gdiplus::Bitmap bitmap(160, 80);
    Gdiplus::Graphics graphics(&bitmap);
    ControlDrawState state;
    state.blank = true;
    state.backgroundColor = RGB(1, 2, 3);
    RenderSegmentSwitch(graphics, RECT{0, 0, 160, 80}, state, segments.GetSwitchState());
    EXPECT_EQ(PixelAt(bitmap, 80, 40), RGB(1, 2, 3));
    RenderSegmentSwitch(graphics, RECT{0, 0, 0, 0}, ControlDrawState(), segments.GetSwitchState());
    EXPECT_EQ(PixelAt(bitmap, 80, 40), RGB(1, 2, 3)) << "an empty rectangle paints nothing";
    state.blank = false;
    RenderSegmentSwitch(graphics, RECT{0, 0, 160, 80}, state, segments.GetSwitchState());
    SaveControlPicture(bitmap, "segment_switch_rendered");
    EXPECT_NE(PixelAt(bitmap, 80, 40), RGB(1, 2, 3));
}
