#include "controls/switches/menu_bar_wnd.h"

#include "controls/layout/control_item.h"
#include "platform/win32/backend_bridge.h"
#include "platform/win32/window_picture.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

const std::vector<CString> kModes = {L"Apprentice", L"Maester", L"Codex"};

class MenuBar : public ControlTest
{
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        CreateIn(menu, CRect(20, 20, 620, 60));
        menu.SetItems(kModes);
    }

    // The tabs as the hit test measures them.
    MenuBarLayout Tabs()
    {
        CRect client;
        menu.GetClientRect(&client);
        CClientDC dc(&menu);
        return MenuBarLayout::Of(client,
                                 MeasureMenuTabs(dc.GetSafeHdc(), client, menu.GetSwitchState()));
    }

    POINT Middle(const RECT& tab) const
    {
        return At(menu, (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    }

    CMenuBarWnd menu;
};

} // namespace

TEST(MenuBarLayout, TabsRunFromTheInsetEach28WiderThanTheirTextAnd4Apart)
{
    const MenuBarLayout layout = MenuBarLayout::Of(RECT{0, 0, 300, 40}, {50, 30, 70, 10});
    EXPECT_EQ(CRect(layout.strip), CRect(6, 4, 294, 36));
    EXPECT_EQ(layout.height, 32);
    EXPECT_EQ(layout.radius, 6.0);
    // The fourth would start at 252 + 4 = 256, inside; a fifth could not.
    const std::vector<CRect> expected = {CRect(6, 4, 84, 36), CRect(88, 4, 146, 36),
                                         CRect(150, 4, 248, 36), CRect(252, 4, 290, 36)};
    ASSERT_EQ(layout.items.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ(CRect(layout.items[i]), expected[i]) << i;
    }
    // Tabs that would start at or past the strip's right edge are left out.
    EXPECT_EQ(MenuBarLayout::Of(RECT{0, 0, 120, 40}, {80, 10, 10}).items.size(), 1u);
    EXPECT_EQ(MenuBarLayout::Of(RECT{0, 0, 20, 40}, {80, 10}).items.size(), 1u);
    EXPECT_TRUE(MenuBarLayout::Of(RECT{0, 0, 12, 40}, {80}).items.empty());
}

TEST_F(MenuBar, MeasuredTabsFollowTheRuleAtEveryDpiAndTheGapsHitNothing)
{
    std::vector<int> widthsAt96;
    for (const UINT dpi : {96u, 144u})
    {
        SCOPED_TRACE(dpi);
        brvl::win32::ChangeDpi(dpi);
        const MenuBarLayout layout = Tabs();
        ASSERT_EQ(layout.items.size(), 3u);
        int x = 6;
        for (size_t i = 0; i < 3; ++i)
        {
            const RECT& tab = layout.items[i];
            EXPECT_EQ(tab.left, x);
            EXPECT_GT(tab.right - tab.left, 28);
            EXPECT_EQ(menu.HitTest(CPoint(tab.left, 20)), int(i));
            EXPECT_EQ(menu.HitTest(CPoint(tab.right - 1, 20)), int(i));
            for (int gap = tab.right; gap < tab.right + 4; ++gap)
            {
                EXPECT_EQ(menu.HitTest(CPoint(gap, 20)), -1) << "gap at " << gap;
            }
            x = tab.right + 4;
            if (dpi == 96)
            {
                widthsAt96.push_back(tab.right - tab.left - 28);
            }
            else
            {
                EXPECT_GT(tab.right - tab.left - 28, widthsAt96[i]) << "an 18-point font grows";
            }
        }
        EXPECT_EQ(menu.HitTest(CPoint(x + 20, 20)), -1) << "past the last tab";
        EXPECT_EQ(menu.HitTest(CPoint(10, 2)), -1) << "above the strip";
    }
    brvl::win32::ChangeDpi(96);
}

TEST_F(MenuBar, ClicksSelectWithoutCommitAndTheSelectionCanBeNone)
{
    EXPECT_EQ(menu.GetSelectedIndex(), 0);
    EXPECT_EQ(menu.GetKindName(), "menu bar");
    EXPECT_EQ(menu.GetGridSpan(), CSize(12, 1));
    EXPECT_TRUE(menu.GetLabel().IsEmpty());
    const MenuBarLayout layout = Tabs();
    ASSERT_EQ(layout.items.size(), 3u);

    session->Click(Middle(layout.items[2]));
    EXPECT_EQ(menu.GetSelectedIndex(), 2);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].message, WMU_CONTROL_CHANGED);
    EXPECT_EQ(heard[0].value, 1.0);

    heard.clear();
    session->AdvanceTime(600);
    session->Click(Middle(layout.items[2]));
    EXPECT_TRUE(heard.empty()) << "the selected tab again: nothing";

    struct Case
    {
        int index;
        int kept;
        double value;
    };
    for (const Case c : {Case{-1, -1, 0.0}, Case{-5, -1, 0.0}, Case{999, 2, 1.0}, Case{1, 1, 0.5}})
    {
        menu.SetSelectedIndex(c.index);
        EXPECT_EQ(menu.GetSelectedIndex(), c.kept) << c.index;
        EXPECT_EQ(menu.GetValue(), c.value) << c.index;
    }
}

TEST_F(MenuBar, TheWheelStepsBackFromTheFirstTabToNone)
{
    struct Case
    {
        short delta;
        int index;
        int changes;
    };
    const Case cases[] = {{-WHEEL_DELTA, -1, 1}, {0, -1, 0},          {WHEEL_DELTA, 0, 1},
                          {WHEEL_DELTA, 1, 1},   {WHEEL_DELTA, 2, 1}, {WHEEL_DELTA, 2, 0}};
    for (const Case& c : cases)
    {
        heard.clear();
        session->Wheel(At(menu, 20, 20), c.delta);
        EXPECT_EQ(menu.GetSelectedIndex(), c.index);
        ASSERT_EQ(Count(WMU_CONTROL_CHANGED), c.changes);
        EXPECT_EQ(Count(WMU_CONTROL_COMMIT), 0);
        if (c.index == -1 && c.changes == 1)
        {
            EXPECT_EQ(heard[0].value, 0.0);
        }
    }
}

TEST_F(MenuBar, ReplacingItemsKeepsNoSelectionAndTellsNothing)
{
    menu.SetSelectedIndex(-1);
    heard.clear();
    menu.SetItems({L"One", L"Two", L"Three"});
    EXPECT_EQ(menu.GetSelectedIndex(), -1);
    EXPECT_EQ(menu.GetValue(), 0.0);
    menu.SetItems({});
    EXPECT_EQ(menu.GetCount(), 3);

    menu.SetSelectedIndex(2);
    heard.clear();
    menu.SetItems({L"Only"});
    EXPECT_EQ(menu.GetSelectedIndex(), 0);
    EXPECT_EQ(menu.GetValue(), 0.0);
    EXPECT_TRUE(heard.empty());

    // A thousand items: all kept, only those that start inside are measured.
    std::vector<CString> many(1000, CString(L"&<Item>&"));
    menu.SetItems(many);
    EXPECT_EQ(menu.GetCount(), 32);
    EXPECT_LT(Tabs().items.size(), 32u);
    menu.UpdateWindow();

    ControlItem item;
    item.stepCount = 2000000000;
    item.selectedIndex = 40;
    menu.ApplyItem(item);
    EXPECT_EQ(menu.GetCount(), 32);
    EXPECT_EQ(menu.GetSelectedIndex(), 31);
    menu.UpdateWindow();
}

TEST_F(MenuBar, PicturesWithTheSecondTabSelectedAndWithNone)
{
    for (const CSize size : {CSize(160, 40), CSize(480, 44)})
    {
        menu.MoveWindow(20, 20, size.cx, size.cy);
        const std::string at = std::to_string(size.cx) + "x" + std::to_string(size.cy);
        menu.SetSelectedIndex(1);
        ASSERT_TRUE(
            RenderWindowToPng(menu.GetSafeHwnd(), ControlPicturePath("menu_bar_item1_" + at)));
        menu.SetSelectedIndex(-1);
        ASSERT_TRUE(
            RenderWindowToPng(menu.GetSafeHwnd(), ControlPicturePath("menu_bar_none_" + at)));
    }
    // Narrower than one tab: the first tab is cut off and nothing breaks.
    menu.MoveWindow(20, 20, 40, 40);
    menu.SetSelectedIndex(0);
    ASSERT_TRUE(RenderWindowToPng(menu.GetSafeHwnd(), ControlPicturePath("menu_bar_40x40")));
    EXPECT_EQ(menu.HitTest(CPoint(20, 20)), 0);
}
