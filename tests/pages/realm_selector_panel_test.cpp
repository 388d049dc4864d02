// The realm selector panel and the card-list scrolling it shares with the
// add-on browser: the layout and scroll arithmetic as pure functions, then the
// panel under injected input, then its pictures.

#include "pages/card_list_scroll.h"
#include "pages/realm_selector_panel_wnd.h"

#include "controls/base/painting_helpers.h"
#include "platform/win32/backend_bridge.h"
#include "platform/win32/window_picture.h"
#include "tests/controls/control_test_kit.h"
#include "tests/pages/page_test_kit.h"
#include "tests/platform/test_windows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

std::vector<LibraryEntry> Entries(int count, const std::string& prefix)
{
    std::vector<LibraryEntry> entries;
    for (int i = 0; i < count; ++i)
    {
        const std::string n = std::to_string(i);
        entries.push_back({"/library/" + prefix + n + ".json", prefix + " " + n,
                           "The " + prefix + " entry number " + n + "."});
    }
    return entries;
}

std::string Show(const RECT& r)
{
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

} // namespace

TEST(RealmPanelLayout, ColumnsContentRowsAndBarFollowTheClientAndLists)
{
    struct Case
    {
        int width, height, factory, custom;
        int leftWidth, rightX, rightWidth, contentHeight;
        bool bar;
    };
    for (const Case c : {Case{640, 400, 0, 0, 290, 322, 290, 60, false},
                         Case{641, 400, 0, 0, 290, 322, 291, 60, false},
                         Case{640, 400, 3, 5, 290, 322, 290, 364, false},
                         Case{640, 400, 5, 3, 290, 322, 290, 364, false},
                         Case{640, 400, 12, 2, 290, 322, 290, 798, true},
                         Case{640, 798, 12, 0, 290, 322, 290, 798, false},
                         // Narrower than the margins: negative columns, kept as computed.
                         Case{40, 30, 2, 2, -10, 22, -10, 178, true}})
    {
        SCOPED_TRACE(::testing::Message()
                     << c.width << " x " << c.height << ", " << c.factory << " + " << c.custom);
        const RealmPanelLayout layout =
            ComputeRealmPanelLayout(c.width, c.height, c.factory, c.custom, 100, 120, 0);
        EXPECT_EQ(layout.leftX, 16);
        EXPECT_EQ(layout.leftWidth, c.leftWidth);
        EXPECT_EQ(layout.rightX, c.rightX);
        EXPECT_EQ(layout.rightWidth, c.rightWidth);
        EXPECT_EQ(layout.contentHeight, c.contentHeight);
        EXPECT_EQ(layout.rows.size(), size_t(c.factory + c.custom));
        EXPECT_EQ(layout.trackRect.bottom > layout.trackRect.top || c.height < 32, c.bar);
        EXPECT_EQ(::IsRectEmpty(&layout.thumbRect) == FALSE, c.bar);
        EXPECT_EQ(layout.factoryNameWidth, 100);
        EXPECT_EQ(layout.customNameWidth, 120);
    }
}

TEST(RealmPanelLayout, CardsComeFactoryFirstOnA62PixelPitchScrolled)
{
    const RealmPanelLayout layout = ComputeRealmPanelLayout(640, 400, 3, 5, 35, 35, 50);
    ASSERT_EQ(layout.rows.size(), 8u);
    const CardHitRect& firstFactory = layout.rows[0];
    EXPECT_EQ(firstFactory.column, 0);
    EXPECT_EQ(Show(firstFactory.rect), Show({16, -6, 306, 50}));
    const CardHitRect& lastFactory = layout.rows[2];
    EXPECT_EQ(lastFactory.index, 2);
    EXPECT_EQ(Show(lastFactory.rect), Show({16, 118, 306, 174}));
    const CardHitRect& lastCustom = layout.rows[7];
    EXPECT_EQ(lastCustom.column, 1);
    EXPECT_EQ(lastCustom.index, 4);
    EXPECT_EQ(Show(lastCustom.rect), Show({322, 242, 612, 298}));
}

TEST(CardListScroll, TwelveCardsAt400HighScrollAt398WithA184PixelThumb)
{
    const CardScrollBar top = CardListScrollBar(640, 400, 798, 0);
    EXPECT_EQ(Show(top.trackRect), Show({631, 16, 637, 384}));
    EXPECT_EQ(Show(top.thumbRect), Show({631, 16, 637, 200}));
    const CardScrollBar bottom = CardListScrollBar(640, 400, 798, 398);
    EXPECT_EQ(Show(bottom.thumbRect), Show({631, 200, 637, 384}));
    EXPECT_EQ(ClampCardScroll(-5, 798, 400), 0);
    EXPECT_EQ(ClampCardScroll(399, 798, 400), 398);
    EXPECT_EQ(ClampCardScroll(50, 364, 400), 0);

    // The wheel: 108 px a message by the delta's sign, stopping at both ends.
    std::vector<int> down;
    for (int offset = 0, i = 0; i < 5; ++i)
    {
        offset = WheelCardScroll(offset, -120, 798, 400);
        down.push_back(offset);
    }
    EXPECT_EQ(down, (std::vector<int>{108, 216, 324, 398, 398}));
    EXPECT_EQ(WheelCardScroll(398, 120, 798, 400), 290);
    EXPECT_EQ(WheelCardScroll(50, 1, 798, 400), 0);
    EXPECT_EQ(WheelCardScroll(50, 0, 798, 400), 158);
}

TEST(CardListScroll, DragAndJumpNeedThumbTravel)
{
    const CardScrollBar bar = CardListScrollBar(640, 400, 798, 0);
    // Travel 184: 10 px of pointer move 21 px of content.
    EXPECT_EQ(ThumbDragScroll(bar, 110, 100, 199, 798, 400), std::optional<int>(220));
    EXPECT_EQ(ThumbDragScroll(bar, 1000, 100, 199, 798, 400), std::optional<int>(398));
    EXPECT_EQ(ThumbDragScroll(bar, -1000, 100, 199, 798, 400), std::optional<int>(0));
    // A press at 200 puts the thumb's middle there: (200 - 92 - 16) x 398 / 184.
    EXPECT_EQ(TrackJumpScroll(bar, 200, 798, 400), std::optional<int>(199));
    EXPECT_EQ(TrackJumpScroll(bar, 20, 798, 400), std::optional<int>(0));

    // Lower than 32 px: the thumb cannot travel, so neither does anything.
    const CardScrollBar squat = CardListScrollBar(640, 30, 798, 0);
    EXPECT_EQ(ThumbDragScroll(squat, 10, 0, 0, 798, 30), std::nullopt);
    EXPECT_EQ(TrackJumpScroll(squat, 10, 798, 30), std::nullopt);
    // Travel under 1 px drags nothing; the jump still needs only more than 0.
    const CardScrollBar none{};
    EXPECT_EQ(ThumbDragScroll(none, 10, 0, 0, 798, 400), std::nullopt);
}

TEST(CardListScroll, TheBarZoneHitsNoCardOnlyWhileScrollable)
{
    const std::vector<CardHitRect> rows = {{0, 0, {0, 0, 640, 56}}, {1, 3, {0, 56, 640, 400}}};
    const POINT inZone{635, 100};
    EXPECT_FALSE(HitTestCards(rows, inZone, 640, 400, 798).has_value());
    const auto fits = HitTestCards(rows, inZone, 640, 400, 364);
    ASSERT_TRUE(fits.has_value());
    EXPECT_EQ(fits->column, 1);
    EXPECT_EQ(fits->index, 3);
    // Right and bottom edges lie outside a card; the first row holding the point wins.
    EXPECT_EQ(HitTestCards(rows, POINT{10, 55}, 640, 400, 798)->index, 0);
    EXPECT_EQ(HitTestCards(rows, POINT{10, 56}, 640, 400, 798)->index, 3);
    EXPECT_FALSE(HitTestCards(rows, POINT{640, 10}, 640, 400, 364).has_value());

    const CardScrollBar bar = CardListScrollBar(640, 400, 798, 0);
    const CardScrollHover overThumb = CardScrollHoverAt(bar, POINT{629, 50}, 640, 400, 798);
    EXPECT_TRUE(overThumb.bar);
    EXPECT_FALSE(overThumb.thumb);
    EXPECT_TRUE(CardScrollHoverAt(bar, POINT{633, 50}, 640, 400, 798).thumb);
    const CardScrollHover fitting = CardScrollHoverAt(bar, POINT{633, 50}, 640, 400, 364);
    EXPECT_FALSE(fitting.bar || fitting.thumb);
}

namespace
{

class RealmPanelTest : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(CRect(40, 40, 840, 540)));
        parent.On(WMU_REALM_ITEM_PICKED,
                  [this](WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT>
                  {
                      EXPECT_EQ(wParam, 0u);
                      picks.push_back(*reinterpret_cast<const RealmItemPick*>(lParam));
                      return 0;
                  });
        parent.On(WMU_REALM_PANEL_CANCEL,
                  [this](WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT>
                  {
                      EXPECT_EQ(wParam, 0u);
                      EXPECT_EQ(lParam, 0);
                      ++cancels;
                      return 0;
                  });
        ASSERT_TRUE(panel.Create(&parent, CRect(0, 0, 640, 400), 8736));
        panel.SetAccentColor(0x20A5DA);
        panel.SetFactoryEntries(Entries(12, "Factory"));
        panel.SetCustomEntries(Entries(5, "Custom"));
        panel.UpdateWindow();
        Settle();
    }

    // A client point in the middle of a card of the last paint.
    POINT Card(int column, int index) const
    {
        for (const CardHitRect& row : panel.rows)
        {
            if (row.column == column && row.index == index)
            {
                return ScreenPoint(panel, (row.rect.left + row.rect.right) / 2,
                                   (row.rect.top + row.rect.bottom) / 2);
            }
        }
        ADD_FAILURE() << "no card " << column << ", " << index;
        return {};
    }

    POINT At(int x, int y) const { return ScreenPoint(panel, x, y); }

    Gdiplus::Bitmap* Drawn(const CRealmSelectorPanelWnd::State& state)
    {
        bitmap = std::make_unique<Gdiplus::Bitmap>(state.size.cx, state.size.cy);
        Gdiplus::Graphics graphics(bitmap.get());
        PrepareControlGraphics(graphics);
        CRealmSelectorPanelWnd::Draw(graphics, state);
        return bitmap.get();
    }

    RecordingWnd parent{"parent", log};
    CRealmSelectorPanelWnd panel;
    std::vector<RealmItemPick> picks;
    int cancels = 0;
    std::unique_ptr<Gdiplus::Bitmap> bitmap;
};

} // namespace

TEST_F(RealmPanelTest, APressAndReleaseOnOneCardReportsItOnce)
{
    EXPECT_EQ(panel.contentHeight, 798);
    EXPECT_EQ(panel.factoryNameWidth, MeasureRealmNameWidth(panel.factoryEntries));
    EXPECT_GT(panel.factoryNameWidth, 35);
    session->Click(Card(1, 2));
    ASSERT_EQ(picks.size(), 1u);
    EXPECT_FALSE(picks[0].fromFactory);
    EXPECT_EQ(picks[0].index, 2);
    EXPECT_EQ(picks[0].path, "/library/Custom2.json");
    EXPECT_EQ(picks[0].name, "Custom 2");
    session->Click(Card(0, 0));
    ASSERT_EQ(picks.size(), 2u);
    EXPECT_TRUE(picks[1].fromFactory);
    EXPECT_EQ(picks[1].index, 0);
    EXPECT_EQ(picks[1].path, "/library/Factory0.json");

    // Pressed, moved off and released elsewhere: nothing, the press forgotten.
    picks.clear();
    session->PressButton(Card(0, 1));
    EXPECT_EQ(panel.pressedIndex, 1);
    session->MoveMouse(Card(0, 2));
    session->ReleaseButton(Card(0, 2));
    EXPECT_EQ(panel.pressedIndex, -1);
    session->PressButton(Card(1, 0));
    session->ReleaseButton(ScreenPoint(parent, 700, 450));
    EXPECT_TRUE(picks.empty());
    EXPECT_EQ(session->PointerGrab(), nullptr);
}

TEST_F(RealmPanelTest, APickOutsideTheListIsReportedWithEmptyTexts)
{
    panel.NotifyPick(true, 12);
    panel.NotifyPick(false, -1);
    ASSERT_EQ(picks.size(), 2u);
    EXPECT_EQ(picks[0].index, 12);
    EXPECT_TRUE(picks[0].path.empty() && picks[0].name.empty());
    EXPECT_TRUE(picks[1].path.empty() && picks[1].name.empty());
    CRealmSelectorPanelWnd loose; // no window, no parent: nothing sent
    loose.NotifyPick(true, 0);
    EXPECT_EQ(picks.size(), 2u);
}

TEST_F(RealmPanelTest, EscapeCancelsOnlyWhileThePanelHasTheFocus)
{
    panel.SetFocus();
    session->Key(VK_ESCAPE);
    EXPECT_EQ(cancels, 1);
    session->Key('A');
    EXPECT_EQ(cancels, 1);
    parent.SetFocus();
    session->Key(VK_ESCAPE);
    EXPECT_EQ(cancels, 1);
    // Any press gives it the focus back.
    session->Click(At(5, 5));
    EXPECT_EQ(::GetFocus(), panel.GetSafeHwnd());
    session->Key(VK_ESCAPE);
    EXPECT_EQ(cancels, 2);
}

TEST_F(RealmPanelTest, TheWheelScrolls108PixelsAndStopsAtBothEnds)
{
    std::vector<int> offsets;
    for (int i = 0; i < 5; ++i)
    {
        session->Wheel(At(300, 200), -120);
        offsets.push_back(panel.scrollOffset);
    }
    EXPECT_EQ(offsets, (std::vector<int>{108, 216, 324, 398, 398}));
    for (int i = 0; i < 4; ++i)
    {
        session->Wheel(At(300, 200), 120);
    }
    EXPECT_EQ(panel.scrollOffset, 0);

    // A list that fits does not scroll.
    panel.SetFactoryEntries(Entries(2, "Short"));
    session->Wheel(At(300, 200), -120);
    EXPECT_EQ(panel.scrollOffset, 0);
}

TEST_F(RealmPanelTest, APressBelowTheThumbCentresItAndDragsOn)
{
    ASSERT_EQ(panel.thumbRect.bottom, 200);
    session->PressButton(At(634, 200));
    EXPECT_TRUE(panel.draggingThumb);
    EXPECT_EQ(panel.scrollOffset, 199);
    session->MoveMouse(At(634, 210));
    EXPECT_EQ(panel.scrollOffset, 220);
    session->MoveMouse(At(300, 900));
    EXPECT_EQ(panel.scrollOffset, 398);
    session->ReleaseButton(At(300, 900));
    EXPECT_FALSE(panel.draggingThumb);
    session->MoveMouse(At(634, 100));
    EXPECT_EQ(panel.scrollOffset, 398);
    EXPECT_TRUE(picks.empty());

    // The thumb itself: a drag from where it is.
    panel.UpdateWindow();
    const int thumbMiddle = (panel.thumbRect.top + panel.thumbRect.bottom) / 2;
    session->PressButton(At(634, thumbMiddle));
    EXPECT_EQ(panel.dragStartScroll, 398);
    session->MoveMouse(At(634, thumbMiddle - 92));
    EXPECT_EQ(panel.scrollOffset, 199);
    session->ReleaseButton(At(634, thumbMiddle - 92));
}

TEST_F(RealmPanelTest, ALostCaptureEndsADragOrPressUnreported)
{
    session->PressButton(At(634, 100));
    ASSERT_TRUE(panel.draggingThumb);
    session->MoveMouse(At(634, 120));
    const int scrolled = panel.scrollOffset;
    EXPECT_GT(scrolled, 0);
    parent.SetCapture();
    EXPECT_FALSE(panel.draggingThumb);
    ::ReleaseCapture();
    session->MoveMouse(At(634, 300));
    EXPECT_EQ(panel.scrollOffset, scrolled);

    panel.UpdateWindow();
    session->PressButton(Card(1, 1));
    ASSERT_EQ(panel.pressedIndex, 1);
    parent.SetCapture();
    EXPECT_EQ(panel.pressedIndex, -1);
    ::ReleaseCapture();
    panel.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(420, 44 - scrolled + 62 + 20));
    EXPECT_TRUE(picks.empty());
}

TEST_F(RealmPanelTest, HoverFollowsCardsAndBarAndClearsWhenTheListsFit)
{
    session->MoveMouse(Card(1, 3));
    EXPECT_EQ(panel.hoverColumn, 1);
    EXPECT_EQ(panel.hoverIndex, 3);
    EXPECT_EQ(brvl::win32::StandardCursorId(session->ShownCursor()), IDC_HAND_ID);
    session->MoveMouse(At(634, 50));
    EXPECT_TRUE(panel.barHover);
    EXPECT_TRUE(panel.thumbHover);
    EXPECT_EQ(panel.hoverIndex, -1);
    EXPECT_EQ(brvl::win32::StandardCursorId(session->ShownCursor()), IDC_ARROW_ID);

    // The lists shrink under the pointer: nothing is scrollable, so no bar is
    // hovered and the cards can be again.
    panel.SetFactoryEntries(Entries(2, "Short"));
    panel.SetCustomEntries(Entries(1, "Shorter"));
    EXPECT_FALSE(panel.barHover);
    EXPECT_FALSE(panel.thumbHover);
    panel.UpdateWindow();
    session->MoveMouse(Card(0, 1));
    EXPECT_EQ(panel.hoverIndex, 1);
    session->MoveMouse(ScreenPoint(parent, 700, 450));
    EXPECT_EQ(panel.hoverIndex, -1);
    EXPECT_FALSE(panel.trackingMouse);
}

TEST_F(RealmPanelTest, ReplacingTheListsMidGestureLosesNothingAndKeepsNoCapture)
{
    const POINT card = Card(0, 4);
    session->PressButton(card);
    panel.SetFactoryEntries({});
    session->ReleaseButton(card);
    EXPECT_TRUE(picks.empty());
    EXPECT_EQ(session->PointerGrab(), nullptr);

    panel.SetFactoryEntries(Entries(12, "Factory"));
    panel.UpdateWindow();
    session->PressButton(At(634, 100));
    ASSERT_TRUE(panel.draggingThumb);
    panel.SetFactoryEntries(Entries(1, "One"));
    session->MoveMouse(At(634, 300));
    EXPECT_EQ(panel.scrollOffset, 0);
    session->ReleaseButton(At(634, 300));
    EXPECT_FALSE(panel.draggingThumb);
    EXPECT_EQ(session->PointerGrab(), nullptr);
}

TEST_F(RealmPanelTest, TheSelectedCardShowsTheBarAndItsNameMovesSevenPixels)
{
    std::vector<LibraryEntry> same = Entries(3, "Same");
    for (LibraryEntry& entry : same)
    {
        entry.displayName = "Same name";
    }
    same[2].path.clear();
    panel.SetFactoryEntries(same);
    panel.SetSelectedPath(same[1].path);
    panel.UpdateWindow();
    CRealmSelectorPanelWnd::State state = panel.GetState();
    Gdiplus::Bitmap& picture = *Drawn(state);

    const auto leftmostText = [&picture](const RECT& card)
    {
        for (int x = card.left + 6; x < card.left + 60; ++x)
        {
            for (int y = card.top + 10; y < card.bottom - 10; ++y)
            {
                if (GetRValue(PixelAt(picture, x, y)) > 0xA0)
                {
                    return x - card.left;
                }
            }
        }
        return -1;
    };
    const RECT plain = panel.rows[0].rect;
    const RECT chosen = panel.rows[1].rect;
    EXPECT_EQ(PixelAt(picture, chosen.left + 3, chosen.top + 28), RGB(0xDA, 0xA5, 0x20));
    EXPECT_NE(PixelAt(picture, plain.left + 3, plain.top + 28), RGB(0xDA, 0xA5, 0x20));
    ASSERT_GT(leftmostText(plain), 0);
    EXPECT_EQ(leftmostText(chosen) - leftmostText(plain), 7);

    // An empty selected path marks the entry with the empty path.
    state.selectedPath.clear();
    Gdiplus::Bitmap& unselected = *Drawn(state);
    const RECT empty = panel.rows[2].rect;
    EXPECT_EQ(PixelAt(unselected, empty.left + 3, empty.top + 28), RGB(0xDA, 0xA5, 0x20));
    EXPECT_NE(PixelAt(unselected, chosen.left + 3, chosen.top + 28), RGB(0xDA, 0xA5, 0x20));
}

TEST_F(RealmPanelTest, SettersRepaintOnlyOnAChange)
{
    const auto dirty = [this] { return ::GetUpdateRect(panel.GetSafeHwnd(), nullptr, FALSE); };
    ASSERT_FALSE(dirty());
    panel.SetAccentColor(0x20A5DA);
    panel.SetBackgroundColor(0x100E0C);
    panel.SetSelectedPath("");
    EXPECT_FALSE(dirty());
    panel.SetSelectedPath("/library/Factory1.json");
    EXPECT_TRUE(dirty());
    panel.UpdateWindow();
    // Replacing a list always returns to the top and repaints.
    session->Wheel(At(300, 200), -120);
    panel.UpdateWindow();
    panel.SetCustomEntries(panel.customEntries);
    EXPECT_EQ(panel.scrollOffset, 0);
    EXPECT_TRUE(dirty());
}

TEST_F(RealmPanelTest, BadSizesAndTextsPaintWithoutHarm)
{
    std::vector<LibraryEntry> odd = {
        {"/a", std::string(10000, 'W'), std::string(10000, 'd')},
        {"/b", "\xC3\x28 bad \xFF\xFE bytes", "\xE2\x82 cut short"},
        {"", "", ""},
    };
    panel.SetFactoryEntries(odd);
    panel.SetCustomEntries(odd);
    EXPECT_GT(panel.factoryNameWidth, 1000);
    for (const CSize size :
         {CSize(59, 400), CSize(20, 31), CSize(640, 31), CSize(1, 1), CSize(0, 0), CSize(640, 400)})
    {
        SCOPED_TRACE(::testing::Message() << size.cx << " x " << size.cy);
        panel.MoveWindow(0, 0, size.cx, size.cy);
        panel.UpdateWindow();
        session->Click(At(size.cx - 3, size.cy / 2));
        session->Wheel(At(size.cx / 2, size.cy / 2), -120);
        WindowPicture picture;
        EXPECT_TRUE(ComposeWindowPicture(parent.GetSafeHwnd(), picture));
    }
    ExpectDrawLeavesGraphicsUsable<CRealmSelectorPanelWnd>(panel.GetState());
}

TEST_F(RealmPanelTest, DrawPaintsWhatTheWindowShowsAndNothingInTheBarStrip)
{
    panel.SetSelectedPath("/library/Factory4.json");
    session->Wheel(At(300, 200), -120);
    session->MoveMouse(Card(1, 2));
    panel.UpdateWindow();
    ASSERT_EQ(panel.scrollOffset, 108);
    ASSERT_EQ(panel.hoverIndex, 2);
    ASSERT_TRUE(RenderWindowToPng(panel.GetSafeHwnd(), ControlPicturePath("realm_panel")));

    EXPECT_EQ(PixelsDifferingFromWindow(panel.GetSafeHwnd(), *Drawn(panel.GetState())), 0);
    WindowPicture window;
    ASSERT_TRUE(ComposeWindowPicture(panel.GetSafeHwnd(), window));

    // The thumb sits part way down in the accent; beside the track, within the
    // 12 px strip, only the body shows.
    const int thumbY = (panel.thumbRect.top + panel.thumbRect.bottom) / 2;
    EXPECT_GT(panel.thumbRect.top, 16);
    EXPECT_GT(GetRValue(window.ColorAt(634, thumbY)), 0x60);
    EXPECT_EQ(window.ColorAt(629, 60), window.ColorAt(629, 61));

    CRealmSelectorPanelWnd::State empty = panel.GetState();
    empty.factoryEntries = nullptr;
    empty.customEntries = nullptr;
    empty.size = CSize(640, 400);
    empty.scrollOffset = 0;
    ASSERT_TRUE(SaveControlPicture(*Drawn(empty), "realm_panel_empty"));
}
