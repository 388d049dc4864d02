// The chain strip: its layout as a pure function, the strip and its viewport
// under injected input with a recording parent, then its pictures.

#include "pages/chain_strip_wnd.h"

#include "controls/base/control_messages.h"
#include "controls/base/painting_helpers.h"
#include "platform/win32/backend_bridge.h"
#include "platform/win32/window_picture.h"
#include "tests/controls/control_test_kit.h"
#include "tests/pages/page_test_kit.h"
#include "tests/platform/test_windows.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace
{

ChainStripEntry Card(const std::string& id, const std::string& title, AddonGlyph glyph,
                     bool selected = false)
{
    ChainStripEntry entry;
    entry.id = id;
    entry.title = title;
    entry.glyph = glyph;
    entry.selected = selected;
    return entry;
}

ChainStripGroup Group(const std::string& key, const std::string& code, const std::string& title,
                      COLORREF color, bool editable, std::vector<ChainStripEntry> entries = {})
{
    ChainStripGroup group;
    group.key = key;
    group.shortCode = code;
    group.title = title;
    group.color = color;
    group.editable = editable;
    group.entries = std::move(entries);
    return group;
}

// The expert page's chain before any add-on is placed.
std::vector<ChainStripGroup> DefaultChain()
{
    return {Group("PREMATCH", "pre", "PREPARATION", 0x4874C8, true),
            Group("match", "ref", "REFERENCE", 0xD0964A, false,
                  {Card("stage2", "Spectral", 20, true), Card("stage3", "Dynamics", 47)}),
            Group("POSTMATCHTONE", "ton", "TONE", 0xD2645E, true),
            Group("POSTMATCHDYNAMICS", "dyn", "DYNAMICS", 0xCC5484, true),
            Group("STEREOIMAGE", "img", "IMAGE", 0x9A48BC, true),
            Group("PRELIMITER", "plm", "PRELIMITER", 0x3B3FA5, true),
            Group("stage4", "FIN", "FINAL", 0x80BE48, false, {Card("stage4", "Limiter", 4)})};
}

std::vector<ChainStripGroup> ChainWithTone()
{
    std::vector<ChainStripGroup> chain = DefaultChain();
    chain[2].entries = {Card("air_shelf", "Air Shelf", AddonGlyphForId("air_shelf"))};
    return chain;
}

std::string Show(const RECT& r)
{
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

std::string Show(const ChainStripHitRect& hit)
{
    return std::to_string(hit.kind) + " " + std::to_string(hit.groupIndex) + "/" +
           std::to_string(hit.entryIndex) + " " + Show(hit.rect);
}

std::vector<std::string> Shown(const std::vector<ChainStripHitRect>& hits)
{
    std::vector<std::string> shown;
    for (const ChainStripHitRect& hit : hits)
    {
        shown.push_back(Show(hit));
    }
    return shown;
}

constexpr RECT kStripClient{0, 0, 936, 120};

} // namespace

static_assert(WMU_CHAIN_STRIP_ACTION == 0x8110);

TEST(ChainStripLayout, TheDefaultChainAt936By120)
{
    const ChainStripLayout layout = ComputeChainStripLayout(DefaultChain(), kStripClient, 0);
    EXPECT_EQ(
        Shown(layout.hitRects),
        (std::vector<std::string>{"1 0/-1 (8, 28)-(38, 116)", "0 1/0 (50, 28)-(140, 116)",
                                  "0 1/1 (150, 28)-(240, 116)", "1 2/-1 (252, 28)-(282, 116)",
                                  "1 3/-1 (294, 28)-(324, 116)", "1 4/-1 (336, 28)-(366, 116)",
                                  "1 5/-1 (378, 28)-(408, 116)", "0 6/0 (420, 28)-(510, 116)"}));
    // The content (588) is narrower than the client, which is what is kept.
    EXPECT_EQ(layout.contentWidth, 936);
    EXPECT_EQ(ComputeChainStripLayout(DefaultChain(), RECT{0, 0, 500, 120}, 0).contentWidth, 588);
    ASSERT_EQ(layout.groups.size(), 7u);
    EXPECT_EQ(layout.groups[1].left, 50);
    EXPECT_EQ(layout.groups[1].width, 190);
}

TEST(ChainStripLayout, AnAddOnGetsARemoveButtonAndPushesTheAddButton)
{
    const ChainStripLayout layout = ComputeChainStripLayout(ChainWithTone(), kStripClient, 0);
    EXPECT_EQ(Shown(layout.hitRects)[3], "0 2/0 (252, 28)-(342, 116)");
    EXPECT_EQ(Shown(layout.hitRects)[4], "2 2/0 (320, 28)-(338, 46)");
    EXPECT_EQ(Shown(layout.hitRects)[5], "1 2/-1 (352, 28)-(382, 116)");
    EXPECT_EQ(layout.groups[2].width, 130);
    EXPECT_EQ(ComputeChainStripLayout(ChainWithTone(), RECT{0, 0, 400, 120}, 0).contentWidth,
              588 - 44 + 130);

    // Scrolled: everything moves left by the offset.
    const ChainStripLayout scrolled = ComputeChainStripLayout(ChainWithTone(), kStripClient, 100);
    EXPECT_EQ(Show(scrolled.hitRects[3]), "0 2/0 (152, 28)-(242, 116)");

    // The remove button wins over the card under it.
    EXPECT_EQ(HitTestChainStrip(layout.hitRects, POINT{330, 40})->kind, kChainStripRemoveButton);
    EXPECT_EQ(HitTestChainStrip(layout.hitRects, POINT{330, 50})->kind, kChainStripCard);
    EXPECT_FALSE(HitTestChainStrip(layout.hitRects, POINT{45, 60}).has_value());
    EXPECT_FALSE(HitTestChainStrip(layout.hitRects, POINT{60, 10}).has_value());
}

TEST(ChainStripLayout, EmptyGroupsNoGroupsAndLowStrips)
{
    const ChainStripLayout none = ComputeChainStripLayout({}, kStripClient, 0);
    EXPECT_TRUE(none.hitRects.empty());
    EXPECT_EQ(none.contentWidth, 936);
    EXPECT_EQ(ComputeChainStripLayout({}, RECT{0, 0, 10, 120}, 0).contentWidth, 16);

    // A non-editable empty group: no rectangle, 12 px of x, 44 + 12 of content.
    const std::vector<ChainStripGroup> groups = {
        Group("A", "a", "AAA", 0x808080, false),
        Group("B", "b", "BBB", 0x808080, false, {Card("stage3", "Dynamics", 47)})};
    const ChainStripLayout layout = ComputeChainStripLayout(groups, RECT{0, 0, 10, 120}, 0);
    EXPECT_EQ(Shown(layout.hitRects), (std::vector<std::string>{"0 1/0 (20, 28)-(110, 116)"}));
    EXPECT_EQ(layout.contentWidth, 16 + 44 + 12 + 90);
    EXPECT_EQ(layout.groups[0].width, 0);
    // Alone it adds no gap.
    EXPECT_EQ(ComputeChainStripLayout({groups[0]}, RECT{0, 0, 10, 120}, 0).contentWidth, 60);

    // Lower than 32 px: the cards come out inverted, as computed.
    const ChainStripLayout low = ComputeChainStripLayout(DefaultChain(), RECT{0, 0, 936, 20}, 0);
    EXPECT_EQ(Show(low.hitRects[1].rect), "(50, 28)-(140, 16)");
}

TEST(ChainStripRecords, EqualityIgnoresOnlyTheSelection)
{
    const std::vector<ChainStripGroup> base = ChainWithTone();
    std::vector<ChainStripGroup> other = base;
    other[1].entries[0].selected = false;
    other[2].entries[0].selected = true;
    EXPECT_TRUE(ChainStripGroupsEqual(base, other));

    const std::vector<std::function<void(std::vector<ChainStripGroup>&)>> changes = {
        [](auto& g) { g[0].key = "X"; },
        [](auto& g) { g[0].shortCode = "x"; },
        [](auto& g) { g[0].title = "X"; },
        [](auto& g) { g[0].color = 1; },
        [](auto& g) { g[0].editable = false; },
        [](auto& g) { g[2].entries[0].id = "x"; },
        [](auto& g) { g[2].entries[0].title = "x"; },
        [](auto& g) { g[2].entries[0].color = 1; },
        [](auto& g) { g[2].entries[0].enabled = false; },
        [](auto& g) { g[2].entries[0].glyph = 2; },
        [](auto& g) { g[2].entries.push_back(g[2].entries[0]); },
        [](auto& g) { g.pop_back(); },
    };
    for (size_t i = 0; i < changes.size(); ++i)
    {
        std::vector<ChainStripGroup> changed = base;
        changes[i](changed);
        EXPECT_FALSE(ChainStripGroupsEqual(base, changed)) << "change " << i;
    }
}

namespace
{

class ChainStripTest : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(CRect(40, 40, 1040, 240)));
        parent.On(WMU_CHAIN_STRIP_ACTION,
                  [this](WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT>
                  {
                      EXPECT_EQ(wParam, 0u);
                      actions.push_back(*reinterpret_cast<const ChainStripAction*>(lParam));
                      if (onAction)
                      {
                          onAction();
                      }
                      return 0;
                  });
        ASSERT_TRUE(viewport.Create(&parent, CRect(0, 0, 936, 132), 8832));
        viewport.EnsureChildren();
        viewport.SetBackgroundColor(0x100E0C);
        viewport.SetGroups(ChainWithTone());
        viewport.UpdateWindow();
        Settle();
    }

    CChainStripWnd& Strip() { return viewport.strip; }
    POINT At(int x, int y) const { return ScreenPoint(viewport.strip, x, y); }

    std::string Last() const
    {
        if (actions.empty())
        {
            return "none";
        }
        const ChainStripAction& a = actions.back();
        return std::to_string(a.action) + " " + a.groupKey + " " + a.entryId + " " +
               std::to_string(a.entryIndex);
    }

    RecordingWnd parent{"parent", log};
    CChainStripViewportWnd viewport;
    std::vector<ChainStripAction> actions;
    std::function<void()> onAction;
};

} // namespace

TEST_F(ChainStripTest, TheViewportPlacesTheStripAboveAShownBar)
{
    EXPECT_EQ(Strip().GetDlgCtrlID(), 8800);
    EXPECT_EQ(viewport.bar.GetDlgCtrlID(), 8801);
    EXPECT_EQ(Strip().GetStyle(), DWORD(0x56000000));
    CRect strip;
    Strip().GetWindowRect(&strip);
    EXPECT_EQ(strip.Height(), 120);
    EXPECT_EQ(strip.Width(), 936);
    CRect bar;
    viewport.bar.GetWindowRect(&bar);
    EXPECT_EQ(bar.Height(), 12);
    EXPECT_EQ(bar.top, strip.bottom);
    EXPECT_TRUE(viewport.bar.IsWindowVisible()) << "shown even though the content fits";
    EXPECT_EQ(viewport.bar.vertical, 0);
    EXPECT_EQ(viewport.bar.accent, COLORREF(0xD8D8D8));
    EXPECT_EQ(viewport.bar.contentExtent, 936);
    EXPECT_EQ(viewport.bar.viewExtent, 936);
    EXPECT_TRUE(ChainStripGroupsEqual(viewport.GetGroups(), ChainWithTone()));

    viewport.SetBackgroundColor(0x203040);
    EXPECT_EQ(Strip().backgroundColor, COLORREF(0x203040));
    EXPECT_EQ(viewport.bar.background, COLORREF(0x203040));

    // Without a window the viewport makes no children and the clamp only
    // drops negatives.
    CChainStripViewportWnd loose;
    loose.EnsureChildren();
    EXPECT_FALSE(::IsWindow(loose.strip.GetSafeHwnd()));
    EXPECT_EQ(loose.strip.ClampScroll(-5), 0);
    EXPECT_EQ(loose.strip.ClampScroll(5000), 5000);
}

TEST_F(ChainStripTest, ScrollingGoesThroughTheBarAndIsClamped)
{
    viewport.MoveWindow(0, 0, 400, 132);
    EXPECT_EQ(Strip().contentWidth, 674);
    EXPECT_EQ(Strip().ClampScroll(-5), 0);
    EXPECT_EQ(Strip().ClampScroll(100), 100);
    EXPECT_EQ(Strip().ClampScroll(5000), 274);

    struct Case
    {
        LPARAM posted;
        int expected;
    };
    for (const Case c : {Case{120, 120}, Case{-40, 0}, Case{100000, 274},
                         Case{LPARAM(INT_MAX) + 7, 274}, Case{LPARAM(INT_MIN) - 7, 0}})
    {
        ::PostMessage(viewport.GetSafeHwnd(), WMU_CONTROL_COMMIT, 0, c.posted);
        Settle();
        EXPECT_EQ(Strip().scrollOffset, c.expected) << c.posted;
        EXPECT_EQ(viewport.bar.offset, c.expected);
    }
    // A wider viewport holds the offset inside what is left to scroll, as the bar does.
    ::PostMessage(viewport.GetSafeHwnd(), WMU_CONTROL_COMMIT, 0, 274);
    Settle();
    viewport.MoveWindow(0, 0, 600, 132);
    EXPECT_EQ(Strip().scrollOffset, 74);
    EXPECT_EQ(viewport.bar.offset, 74);
    viewport.MoveWindow(0, 0, 400, 132);

    // A shorter model keeps the offset inside the new content.
    ::PostMessage(viewport.GetSafeHwnd(), WMU_CONTROL_COMMIT, 0, 274);
    Settle();
    viewport.SetGroups(DefaultChain());
    EXPECT_EQ(Strip().scrollOffset, 188);
}

TEST_F(ChainStripTest, APressSelectsOnlyTheCardAndReportsIt)
{
    session->Click(At(540, 80));
    EXPECT_EQ(Last(), "0 stage4 stage4 0");
    for (size_t g = 0; g < Strip().groups.size(); ++g)
    {
        for (size_t j = 0; j < Strip().groups[g].entries.size(); ++j)
        {
            EXPECT_EQ(Strip().groups[g].entries[j].selected, g == 6 && j == 0) << g << "/" << j;
        }
    }
    session->Click(At(8 + 15, 60));
    EXPECT_EQ(Last(), "2 PREMATCH  -1");
    session->Click(At(329, 37));
    EXPECT_EQ(Last(), "3 POSTMATCHTONE air_shelf 0");
    EXPECT_TRUE(Strip().groups[6].entries[0].selected) << "a remove does not select";
    EXPECT_EQ(actions.size(), 3u);
    session->Click(At(45, 60));
    session->Click(At(300, 10));
    EXPECT_EQ(actions.size(), 3u) << "nothing under the pointer";
}

TEST_F(ChainStripTest, ADoubleClickSelectsThenToggles)
{
    session->AdvanceTime(1000);
    session->Click(At(100, 80));
    session->Click(At(100, 80));
    ASSERT_EQ(actions.size(), 2u);
    EXPECT_EQ(actions[0].action, kChainStripSelect);
    EXPECT_EQ(Last(), "1 match stage2 0");

    actions.clear();
    session->AdvanceTime(1000);
    session->Click(At(329, 37));
    session->Click(At(329, 37));
    ASSERT_EQ(actions.size(), 1u) << "one remove";
    EXPECT_EQ(Last(), "3 POSTMATCHTONE air_shelf 0");

    actions.clear();
    session->AdvanceTime(1000);
    session->Click(At(365, 60));
    session->Click(At(365, 60));
    EXPECT_EQ(actions.size(), 1u) << "one add";
}

TEST_F(ChainStripTest, TheContextMenuBelongsToAddOnCards)
{
    std::vector<std::wstring> shownTexts;
    UINT answer = kChainEntryToggleCommand;
    session->SetResponder(
        [&](const brvl::backend::ModalRequest& request)
        {
            EXPECT_EQ(request.kind, brvl::backend::ModalKind::PopupMenu);
            shownTexts.push_back(request.text);
            return brvl::backend::ModalAnswer::With(answer);
        });
    const auto rightClick = [this](POINT p)
    {
        session->PressButton(p, brvl::win32::MouseButton::Right);
        session->ReleaseButton(p, brvl::win32::MouseButton::Right);
    };
    rightClick(At(100, 80)); // a stage card
    rightClick(At(365, 60)); // an add button
    rightClick(At(45, 60));  // nothing
    EXPECT_TRUE(shownTexts.empty());
    EXPECT_TRUE(actions.empty());

    rightClick(At(329, 37)); // the remove button: its card's menu
    ASSERT_EQ(shownTexts.size(), 1u);
    EXPECT_EQ(shownTexts[0], L"Bypass");
    EXPECT_EQ(Last(), "1 POSTMATCHTONE air_shelf 0");

    std::vector<ChainStripGroup> bypassed = ChainWithTone();
    bypassed[2].entries[0].enabled = false;
    viewport.SetGroups(bypassed);
    answer = 0; // dismissed
    rightClick(At(280, 80));
    ASSERT_EQ(shownTexts.size(), 2u);
    EXPECT_EQ(shownTexts[1], L"Enable");
    EXPECT_EQ(actions.size(), 1u);
    session->SetResponder(nullptr);
}

TEST_F(ChainStripTest, TheHandStaysOverACardAndTheArrowReturnsOnLeave)
{
    const auto shown = [this] { return brvl::win32::StandardCursorId(session->ShownCursor()); };
    session->MoveMouse(At(100, 80));
    EXPECT_EQ(shown(), IDC_HAND_ID);
    EXPECT_EQ(Strip().hoverGroup, 1);
    EXPECT_EQ(Strip().hoverEntry, 0);
    session->MoveMouse(At(102, 82));
    session->MoveMouse(At(104, 84));
    EXPECT_EQ(shown(), IDC_HAND_ID) << "no hover change, yet still the hand";
    session->MoveMouse(At(329, 37));
    EXPECT_EQ(Strip().hoverKind, kChainStripRemoveButton);
    EXPECT_EQ(shown(), IDC_HAND_ID);
    session->MoveMouse(At(45, 60));
    EXPECT_EQ(shown(), IDC_ARROW_ID);
    session->MoveMouse(At(100, 80));
    session->MoveMouse(ScreenPoint(parent, 980, 180));
    EXPECT_EQ(Strip().hoverGroup, -1);
    EXPECT_FALSE(Strip().trackingMouse);
    EXPECT_EQ(shown(), IDC_ARROW_ID);
}

TEST_F(ChainStripTest, AParentThatReplacesOrHidesDuringAnActionIsSafe)
{
    int round = 0;
    onAction = [this, &round]
    {
        ++round;
        if (round == 1)
        {
            viewport.SetGroups({}); // the list the press came from is gone
        }
        else if (round == 2)
        {
            viewport.ShowWindow(SW_HIDE);
        }
        else
        {
            viewport.DestroyWindow();
        }
    };
    session->Click(At(100, 80));
    EXPECT_EQ(Last(), "0 match stage2 0");
    EXPECT_TRUE(Strip().groups.empty());
    viewport.SetGroups(ChainWithTone());
    viewport.ShowWindow(SW_SHOW);
    viewport.UpdateWindow();
    Strip().SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(100, 80));
    EXPECT_EQ(actions.size(), 2u);
    viewport.ShowWindow(SW_SHOW);
    Strip().SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(329, 37));
    EXPECT_EQ(Last(), "3 POSTMATCHTONE air_shelf 0");
    EXPECT_FALSE(::IsWindow(Strip().GetSafeHwnd()));
    EXPECT_FALSE(::IsWindow(viewport.bar.GetSafeHwnd()));
    Settle();

    // A strip with no parent sends nothing.
    CChainStripWnd orphan;
    ASSERT_TRUE(orphan.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), L"orphan", WS_POPUP,
                                CRect(0, 0, 300, 120), nullptr, 0));
    orphan.groups = ChainWithTone();
    orphan.RecomputeLayout();
    orphan.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(100, 80));
    EXPECT_EQ(actions.size(), 3u);
    orphan.DestroyWindow();
}

TEST_F(ChainStripTest, BadModelsAndSizesPaintWithoutHarm)
{
    std::vector<ChainStripGroup> odd = ChainWithTone();
    odd.push_back(odd[2]); // a duplicate key
    odd[0].shortCode = std::string(300, 'W');
    odd[2].entries[0].title = "\xC3\x28 bad \xFF\xFE bytes";
    odd[2].entries[0].glyph = 999;
    odd[2].entries.push_back(Card("x", "", -5));
    odd[1].color = 0xFFFFFF; // every channel at 255
    odd[1].title.clear();
    viewport.SetGroups(odd);
    for (const CSize size : {CSize(936, 20), CSize(936, 40), CSize(10, 200), CSize(1, 1),
                             CSize(0, 0), CSize(936, 132)})
    {
        SCOPED_TRACE(::testing::Message() << size.cx << " x " << size.cy);
        viewport.MoveWindow(0, 0, size.cx, size.cy);
        viewport.UpdateWindow();
        session->Click(At(100, 10));
        WindowPicture picture;
        EXPECT_TRUE(ComposeWindowPicture(parent.GetSafeHwnd(), picture));
    }
    CChainStripWnd::State state = Strip().GetState();
    ExpectDrawLeavesGraphicsUsable<CChainStripWnd>(state);
    for (const int height : {31, 20, 2})
    {
        state.size = CSize(400, height);
        ExpectDrawLeavesGraphicsUsable<CChainStripWnd>(state);
    }
}

namespace
{

// The title bar of a card in a group of colour `color`, read at its top.
COLORREF TitleBarPixel(COLORREF color)
{
    std::vector<ChainStripGroup> groups = {
        Group("G", "g", "G", color, false, {Card("stage3", "", kNoAddonGlyph)})};
    CChainStripWnd::State state;
    state.size = CSize(200, 120);
    state.groups = &groups;
    Gdiplus::Bitmap canvas(200, 120);
    Gdiplus::Graphics graphics(&canvas);
    PrepareControlGraphics(graphics);
    CChainStripWnd::Draw(graphics, state);
    return PixelAt(canvas, 50, 32);
}

} // namespace

TEST(ChainStripPaint, TheTitleBarSaturatesBrightGroupColours)
{
    // White and near-white groups give a light title bar, not a dark wrapped one.
    for (const COLORREF colour : {COLORREF(0xFFFFFF), COLORREF(0xF8F8F8), COLORREF(0xF0F6FF)})
    {
        const COLORREF pixel = TitleBarPixel(colour);
        EXPECT_GT(GetRValue(pixel), 0xD0) << std::hex << colour;
        EXPECT_GT(GetGValue(pixel), 0xD0) << std::hex << colour;
        EXPECT_GT(GetBValue(pixel), 0xD0) << std::hex << colour;
    }
}

TEST_F(ChainStripTest, PicturesOfTheChain)
{
    viewport.SetGroups(DefaultChain());
    viewport.UpdateWindow();
    ASSERT_TRUE(
        RenderWindowToPng(viewport.GetSafeHwnd(), ControlPicturePath("chain_strip_default")));
    WindowPicture picture;
    ASSERT_TRUE(ComposeWindowPicture(Strip().GetSafeHwnd(), picture));
    // The selected card's 2-px outline in the group colour; the stage cards'
    // bodies dark; nothing but background below the cards.
    EXPECT_GT(GetBValue(picture.ColorAt(50, 70)), 0x80);
    EXPECT_LT(GetRValue(picture.ColorAt(200, 90)), 0x60);
    EXPECT_EQ(picture.ColorAt(600, 118), RGB(0x0C, 0x0E, 0x10));

    // Add-ons in two editable groups, one bypassed, one hovered, scrolled.
    std::vector<ChainStripGroup> chain = ChainWithTone();
    chain[1].entries[0].selected = false;
    chain[4].entries = {
        Card("stereo_widener", "Stereo Widener", AddonGlyphForId("stereo_widener"), true),
        Card("mono_maker", "Mono Maker", AddonGlyphForId("mono_maker"))};
    chain[4].entries[1].enabled = false;
    viewport.SetGroups(chain);
    session->MoveMouse(At(280, 80));
    viewport.UpdateWindow();
    ASSERT_TRUE(
        RenderWindowToPng(viewport.GetSafeHwnd(), ControlPicturePath("chain_strip_addons")));
    viewport.MoveWindow(0, 0, 560, 132);
    ::PostMessage(viewport.GetSafeHwnd(), WMU_CONTROL_COMMIT, 0, 200);
    Settle();
    viewport.UpdateWindow();
    ASSERT_GT(Strip().scrollOffset, 0);
    ASSERT_TRUE(
        RenderWindowToPng(viewport.GetSafeHwnd(), ControlPicturePath("chain_strip_scrolled")));

    // What the window shows is what Draw paints.
    Gdiplus::Bitmap drawn(560, 120);
    {
        Gdiplus::Graphics graphics(&drawn);
        PrepareControlGraphics(graphics);
        CChainStripWnd::Draw(graphics, Strip().GetState());
    }
    EXPECT_EQ(PixelsDifferingFromWindow(Strip().GetSafeHwnd(), drawn), 0);
}
