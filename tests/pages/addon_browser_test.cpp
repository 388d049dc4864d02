// The add-on browser: layout and card colours as pure functions, then the
// browser under injected input with a recording parent, then its pictures.

#include "pages/addon_browser_wnd.h"

#include "controls/base/painting_helpers.h"
#include "platform/win32/backend_bridge.h"
#include "platform/win32/window_picture.h"
#include "registry/addon_registry.h"
#include "tests/controls/control_test_kit.h"
#include "tests/pages/page_test_kit.h"
#include "tests/platform/test_windows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

// The first `count` registered add-ons as cards, every third one used.
std::vector<AddonCard> RegisteredCards(size_t count)
{
    std::vector<AddonCard> cards;
    for (const ProcessorDescriptor& descriptor : GetProcessorDescriptors())
    {
        if (cards.size() == count)
        {
            break;
        }
        cards.push_back(
            {descriptor.id, descriptor.displayName, descriptor.description, cards.size() % 3 == 2});
    }
    return cards;
}

std::string Show(const RECT& r)
{
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

} // namespace

static_assert(WMU_ADDON_PICKED == 0x8112);

TEST(AddonBrowserLayout, ColumnsRowsAndContentFollowTheWidth)
{
    struct Case
    {
        int width, columns;
    };
    for (const Case c :
         {Case{653, 1}, Case{654, 2}, Case{963, 2}, Case{964, 3}, Case{0, 1}, Case{20, 1}})
    {
        EXPECT_EQ(ComputeAddonBrowserLayout(c.width, 400, 5, 0).columns, c.columns) << c.width;
    }
    const AddonBrowserLayout five = ComputeAddonBrowserLayout(700, 400, 5, 0);
    EXPECT_EQ(five.contentHeight, 348);
    ASSERT_EQ(five.rows.size(), 5u);
    EXPECT_EQ(Show(five.rows[0].rect), Show({16, 16, 316, 116}));
    EXPECT_EQ(Show(five.rows[3].rect), Show({326, 124, 626, 224}));
    EXPECT_EQ(five.rows[4].index, 4);
    EXPECT_EQ(five.rows[4].column, 0);
    EXPECT_TRUE(::IsRectEmpty(&five.thumbRect));
    EXPECT_EQ(ComputeAddonBrowserLayout(700, 400, 0, 0).contentHeight, 0);

    // Taller than the client: the bar of the card lists, and the offset moves the cards.
    const AddonBrowserLayout scrolled = ComputeAddonBrowserLayout(700, 300, 5, 48);
    EXPECT_EQ(Show(scrolled.trackRect), Show({691, 16, 697, 284}));
    EXPECT_FALSE(::IsRectEmpty(&scrolled.thumbRect));
    EXPECT_EQ(scrolled.rows[0].rect.top, -32);
}

TEST(AddonBrowserLook, CardColoursForTheDefaultAccent)
{
    struct Case
    {
        bool used, hovered;
        Gdiplus::ARGB top, bottom, outline;
        COLORREF glyph;
    };
    const Gdiplus::ARGB outlineRgb = 0x0067A9DA; // 0.82 c + 37.8 of 0xDCA050
    for (const Case c :
         {Case{false, false, 0xFF284257, 0xFF142533, (88u << 24) | outlineRgb, 0xDCA050},
          Case{false, true, 0xFF41586B, 0xFF22323F, (134u << 24) | outlineRgb, 0xDCA050},
          Case{true, false, 0xFF1D2A34, 0xFF131B22, (50u << 24) | outlineRgb, RGB(108, 140, 164)},
          Case{true, true, 0xFF1D2A34, 0xFF131B22, (50u << 24) | outlineRgb, RGB(108, 140, 164)}})
    {
        SCOPED_TRACE(::testing::Message() << "used " << c.used << ", hovered " << c.hovered);
        const AddonCardLook look = AddonCardLookFor(0xDCA050, c.used, c.hovered);
        EXPECT_EQ(look.top, c.top);
        EXPECT_EQ(look.bottom, c.bottom);
        EXPECT_EQ(look.outline, c.outline);
        EXPECT_EQ(look.glyph, c.glyph);
    }
    // Channels of 255 stay in range.
    const AddonCardLook white = AddonCardLookFor(0xFFFFFF, false, true);
    EXPECT_EQ(white.top, Gdiplus::ARGB(0xFF707173));
}

namespace
{

class AddonBrowserTest : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(CRect(40, 40, 840, 540)));
        parent.On(WMU_ADDON_PICKED,
                  [this](WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT>
                  {
                      EXPECT_EQ(wParam, 0u);
                      picks.push_back(reinterpret_cast<const AddonPick*>(lParam)->index);
                      if (onPick)
                      {
                          onPick();
                      }
                      return 0;
                  });
        ASSERT_TRUE(browser.Create(&parent, CRect(0, 0, 700, 400)));
        EXPECT_EQ(browser.GetDlgCtrlID(), 8834);
        browser.SetCards(RegisteredCards(12));
        browser.UpdateWindow();
        Settle();
    }

    POINT Card(int index) const
    {
        for (const CardHitRect& row : browser.rows)
        {
            if (row.index == index)
            {
                return ScreenPoint(browser, (row.rect.left + row.rect.right) / 2,
                                   (row.rect.top + row.rect.bottom) / 2);
            }
        }
        ADD_FAILURE() << "no card " << index;
        return {};
    }
    POINT At(int x, int y) const { return ScreenPoint(browser, x, y); }

    RecordingWnd parent{"parent", log};
    CAddonBrowserWnd browser;
    std::vector<int> picks;
    std::function<void()> onPick;
};

} // namespace

TEST_F(AddonBrowserTest, APressPicksAtOnceAndAgain)
{
    EXPECT_EQ(browser.contentHeight, 6 * 108 + 24);
    session->PressButton(Card(3));
    EXPECT_EQ(picks, (std::vector<int>{3})) << "before any release";
    EXPECT_EQ(session->PointerGrab(), nullptr) << "no capture for a card";
    session->ReleaseButton(Card(3));
    session->Click(Card(3));
    EXPECT_EQ(picks, (std::vector<int>{3, 3}));
    EXPECT_NE(::GetFocus(), browser.GetSafeHwnd()) << "the browser takes no focus";

    // A used card keeps the arrow and sends nothing.
    ASSERT_TRUE(browser.cards[2].used);
    session->MoveMouse(Card(2));
    EXPECT_EQ(browser.hoverIndex, 2);
    EXPECT_EQ(brvl::win32::StandardCursorId(session->ShownCursor()), IDC_ARROW_ID);
    session->Click(Card(2));
    EXPECT_EQ(picks.size(), 2u);
    session->MoveMouse(Card(1));
    EXPECT_EQ(brvl::win32::StandardCursorId(session->ShownCursor()), IDC_HAND_ID);
    session->Click(At(5, 5));
    EXPECT_EQ(picks.size(), 2u) << "between cards";
}

TEST_F(AddonBrowserTest, TheWheelAndTheThumbScrollAndACaptureLossEndsADrag)
{
    session->Wheel(At(300, 200), -120);
    EXPECT_EQ(browser.scrollOffset, 108);
    session->Wheel(At(300, 200), -120);
    session->Wheel(At(300, 200), -120);
    EXPECT_EQ(browser.scrollOffset, 272);
    session->Wheel(At(300, 200), 120);
    EXPECT_EQ(browser.scrollOffset, 164);

    browser.UpdateWindow();
    const int thumbMiddle = (browser.thumbRect.top + browser.thumbRect.bottom) / 2;
    session->PressButton(At(694, thumbMiddle));
    ASSERT_TRUE(browser.draggingThumb);
    EXPECT_TRUE(picks.empty());
    session->MoveMouse(At(694, thumbMiddle + 30));
    const int dragged = browser.scrollOffset;
    EXPECT_GT(dragged, 164);
    parent.SetCapture();
    EXPECT_FALSE(browser.draggingThumb);
    ::ReleaseCapture();
    session->MoveMouse(At(694, thumbMiddle + 90));
    EXPECT_EQ(browser.scrollOffset, dragged);

    // The hover of the bar goes once the content fits.
    session->MoveMouse(At(694, 100));
    EXPECT_TRUE(browser.barHover);
    browser.SetCards(RegisteredCards(2));
    EXPECT_FALSE(browser.barHover);
    EXPECT_EQ(browser.scrollOffset, 0);
    EXPECT_EQ(browser.hoverIndex, -1);
}

TEST_F(AddonBrowserTest, SetCardsDuringADragAndParentsThatReplaceOrHide)
{
    session->PressButton(At(694, 30));
    ASSERT_TRUE(browser.draggingThumb);
    browser.SetCards({});
    session->MoveMouse(At(694, 300));
    EXPECT_EQ(browser.scrollOffset, 0);
    session->ReleaseButton(At(694, 300));
    EXPECT_FALSE(browser.draggingThumb);
    EXPECT_EQ(session->PointerGrab(), nullptr);

    browser.SetCards(RegisteredCards(12));
    browser.UpdateWindow();
    int round = 0;
    onPick = [this, &round]
    {
        ++round;
        if (round == 1)
        {
            browser.SetCards({});
        }
        else if (round == 2)
        {
            browser.ShowWindow(SW_HIDE);
        }
        else
        {
            browser.DestroyWindow();
        }
    };
    session->Click(Card(0));
    EXPECT_TRUE(browser.cards.empty());
    browser.SetCards(RegisteredCards(12));
    browser.UpdateWindow();
    browser.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(100, 60));
    browser.ShowWindow(SW_SHOW);
    browser.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(100, 60));
    EXPECT_EQ(picks, (std::vector<int>{0, 0, 0}));
    EXPECT_FALSE(::IsWindow(browser.GetSafeHwnd()));
    Settle();

    // Without a parent nothing is sent.
    CAddonBrowserWnd orphan;
    ASSERT_TRUE(orphan.CreateEx(0, AfxRegisterWndClass(0), L"orphan", WS_POPUP,
                                CRect(0, 0, 700, 400), nullptr, 0));
    orphan.SetCards(RegisteredCards(3));
    orphan.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(100, 60));
    EXPECT_EQ(picks.size(), 3u);
    orphan.DestroyWindow();
}

TEST_F(AddonBrowserTest, SettersRepaintOnlyOnAChangeAndBadInputPaints)
{
    const auto dirty = [this] { return ::GetUpdateRect(browser.GetSafeHwnd(), nullptr, FALSE); };
    ASSERT_FALSE(dirty());
    browser.SetAccentColor(0xDCA050);
    browser.SetBackgroundColor(0x100E0C);
    EXPECT_FALSE(dirty());
    browser.SetAccentColor(0x5E64D2);
    EXPECT_TRUE(dirty());

    std::vector<AddonCard> odd = {
        {"", "", "", false},
        {"nothing_known", std::string(300, 'W'), std::string(300, 'd'), true},
        {"air_shelf", "\xC3\x28 bad \xFF\xFE", "\xE2\x82 cut", false}};
    browser.SetCards(odd);
    for (const CSize size :
         {CSize(12, 400), CSize(20, 31), CSize(700, 31), CSize(1, 1), CSize(0, 0), CSize(700, 400)})
    {
        SCOPED_TRACE(::testing::Message() << size.cx << " x " << size.cy);
        browser.MoveWindow(0, 0, size.cx, size.cy);
        browser.UpdateWindow();
        session->Click(At(size.cx - 3, size.cy / 2));
        session->Wheel(At(size.cx / 2, size.cy / 2), -120);
        WindowPicture picture;
        EXPECT_TRUE(ComposeWindowPicture(parent.GetSafeHwnd(), picture));
    }
    ExpectDrawLeavesGraphicsUsable<CAddonBrowserWnd>(browser.GetState());
}

TEST_F(AddonBrowserTest, PicturesShowUsedAndHoveredCardsAndLeaveTheBarStripClear)
{
    browser.MoveWindow(0, 0, 700, 300);
    session->Wheel(At(300, 150), -120);
    browser.UpdateWindow();
    session->MoveMouse(Card(3));
    browser.UpdateWindow();
    ASSERT_EQ(browser.hoverIndex, 3);
    ASSERT_EQ(browser.scrollOffset, 108);
    ASSERT_TRUE(RenderWindowToPng(browser.GetSafeHwnd(), ControlPicturePath("addon_browser")));

    Gdiplus::Bitmap drawn(700, 300);
    {
        Gdiplus::Graphics graphics(&drawn);
        PrepareControlGraphics(graphics);
        CAddonBrowserWnd::Draw(graphics, browser.GetState());
    }
    EXPECT_EQ(PixelsDifferingFromWindow(browser.GetSafeHwnd(), drawn), 0);

    WindowPicture picture;
    ASSERT_TRUE(ComposeWindowPicture(browser.GetSafeHwnd(), picture));
    // The card scrolled partly above the top is drawn where it shows.
    EXPECT_NE(picture.ColorAt(200, 2), RGB(0x0C, 0x0E, 0x10));
    // Nothing but the bar in the 12-px strip at the right.
    for (int y = 0; y < 300; y += 7)
    {
        EXPECT_EQ(picture.ColorAt(689, y), RGB(0x0C, 0x0E, 0x10)) << y;
    }
    // A hovered card is lighter than a plain one at the same place.
    const RECT hovered = browser.rows[3].rect;
    const RECT plain = browser.rows[1].rect;
    EXPECT_GT(GetRValue(picture.ColorAt(hovered.right - 20, hovered.bottom - 10)),
              GetRValue(picture.ColorAt(plain.right - 20, plain.bottom - 10)));

    CAddonBrowserWnd::State empty = browser.GetState();
    empty.cards = nullptr;
    Gdiplus::Bitmap none(700, 300);
    {
        Gdiplus::Graphics graphics(&none);
        CAddonBrowserWnd::Draw(graphics, empty);
    }
    EXPECT_EQ(PixelAt(none, 200, 100), RGB(0x0C, 0x0E, 0x10));
}
