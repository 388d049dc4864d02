#include "tests/display/display_test_support.h"

#include "pages/maester_viewport_wnd.h"

#include <string>

using namespace brvl::backend;

namespace
{

// Screen point at the centre of the strip's first hit rectangle of `kind` in
// group `group` (any entry for an add button).
POINT StripScreenPoint(const CChainStripWnd& strip, int kind, int group, int entry)
{
    for (const ChainStripHitRect& hit : strip.hitRects)
    {
        if (hit.kind == kind && hit.groupIndex == group &&
            (kind == kChainStripAddButton || hit.entryIndex == entry))
        {
            return ScreenOf(strip, (hit.rect.left + hit.rect.right) / 2,
                            (hit.rect.top + hit.rect.bottom) / 2);
        }
    }
    ADD_FAILURE() << "no hit rectangle " << kind << " " << group << "/" << entry;
    return {0, 0};
}

std::string ClickAt(POINT at)
{
    return "mousemove " + At(at) + " sleep 0.1 click 1";
}

// The page in a top-level window, used through the display: a press on a
// strip card selects it and rebuilds the stage panel (the parent hears of it),
// a group's plus opens the add-on browser in the panel's place.
TEST_F(DisplayTest, TheMaesterPageAnswersClicksOnTheChainStripThroughTheDisplay)
{
    ASSERT_TRUE(frame.CreateTopLevel(RECT{60, 60, 1020, 700}, WS_POPUP | WS_VISIBLE));
    ::SetWindowTextW(frame.GetSafeHwnd(), L"BRVL maester display test");
    int changed = 0;
    frame.On(WMU_STAGE_PANEL_CHANGED,
             [&](WPARAM, LPARAM) -> std::optional<LRESULT>
             {
                 ++changed;
                 return 0;
             });
    CMaesterViewportWnd page;
    ASSERT_TRUE(page.Create(&frame));
    DispatchFor(std::chrono::milliseconds(300));
    ASSERT_EQ(page.stagePanel.panel.name, "stage2");
    changed = 0;

    const bool selected = RunWhileDispatching(
        Xdotool("search --sync --onlyvisible --name '^BRVL maester display test$'") +
            " >/dev/null && " +
            Xdotool(ClickAt(StripScreenPoint(page.chainStrip.strip, kChainStripCard, 1, 1))),
        [&] { return page.stagePanel.panel.name == "stage3"; });
    ASSERT_TRUE(selected) << "the press on the Dynamics card never reached the page";
    DispatchFor(std::chrono::milliseconds(200));
    EXPECT_EQ(changed, 1);
    EXPECT_TRUE(page.chainStrip.GetGroups()[1].entries[1].selected);
    ASSERT_TRUE(wx_testing::SaveScreenPng(kDisplayOutput / "display_maester_stage3.png"));

    const bool opened = RunWhileDispatching(
        Xdotool(ClickAt(StripScreenPoint(page.chainStrip.strip, kChainStripAddButton, 2, -1))),
        [&] { return page.browserShown; });
    ASSERT_TRUE(opened) << "the plus of the tone group never opened the browser";
    DispatchFor(std::chrono::milliseconds(200));
    EXPECT_EQ(page.browserFilter, "POSTMATCHTONE");
    EXPECT_TRUE(page.addonBrowser.IsWindowVisible());
    EXPECT_FALSE(page.stagePanel.IsWindowVisible());
    EXPECT_FALSE(page.addonBrowser.cards.empty());
    ASSERT_TRUE(wx_testing::SaveScreenPng(kDisplayOutput / "display_maester_browser.png"));
    page.DestroyWindow();
}

} // namespace
