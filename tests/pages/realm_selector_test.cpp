// The realm selector's pills and strip: the geometry as pure functions, then
// the windows under injected input, then their pictures.

#include "pages/realm_selector_wnd.h"

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

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Show(const RECT& r)
{
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

#define EXPECT_RECT(actual, ...)                                                                   \
    EXPECT_TRUE(SameRect(actual, RECT __VA_ARGS__)) << Show(actual) << " wanted " << #__VA_ARGS__

} // namespace

TEST(RealmPillGeometry, CaptionColumnIsTheWiderTextRoundedUpPlus34AndNeverUnder72)
{
    struct Case
    {
        float title;
        float subtitle;
        int width;
    };
    for (const Case c : {Case{0, 0, 72}, Case{30, 37.5f, 72}, Case{38, 0, 72}, Case{38.2f, 10, 73},
                         Case{60.1f, 95.9f, 130}, Case{-5, 1e30f, 100034}})
    {
        EXPECT_EQ(RealmCaptionWidth(c.title, c.subtitle), c.width) << c.title << " " << c.subtitle;
    }
}

TEST(RealmPillGeometry, ZonesFollowTheClientAndCaption)
{
    const RealmPillZones wide = ComputeRealmPillZones({0, 0, 280, 52}, 72, true);
    EXPECT_TRUE(wide.valueBoxValid);
    EXPECT_RECT(wide.valueBoxRect, {72, 0, 238, 52});
    EXPECT_RECT(wide.buttonRect, {246, 13, 272, 39});

    const RealmPillZones noButton = ComputeRealmPillZones({0, 0, 280, 52}, 72, false);
    EXPECT_RECT(noButton.valueBoxRect, {72, 0, 272, 52});
    EXPECT_RECT(noButton.buttonRect, {0, 0, 0, 0});

    // 39 px of box is too little; 40 is enough.
    const RealmPillZones narrow = ComputeRealmPillZones({0, 0, 153, 52}, 72, true);
    EXPECT_FALSE(narrow.valueBoxValid);
    EXPECT_RECT(narrow.buttonRect, {119, 13, 145, 39});
    EXPECT_TRUE(ComputeRealmPillZones({0, 0, 154, 52}, 72, true).valueBoxValid);

    // An odd spare height truncates towards the top; a pill lower than the
    // button puts it partly above.
    EXPECT_RECT(ComputeRealmPillZones({0, 0, 280, 41}, 72, true).buttonRect, {246, 7, 272, 33});
    EXPECT_RECT(ComputeRealmPillZones({0, 0, 10, 5}, 72, true).buttonRect, {-24, -10, 2, 16});
}

TEST(RealmStripGeometry, ThreePillsSplitTheWidthAndCentreVertically)
{
    struct Case
    {
        RECT client;
        std::vector<RECT> pills;
    };
    const Case cases[] = {
        {{0, 0, 200, 52}, {{0, 0, 60, 52}, {70, 0, 130, 52}, {140, 0, 200, 52}}},
        {{0, 0, 201, 52}, {{0, 0, 60, 52}, {70, 0, 130, 52}, {140, 0, 201, 52}}},
        {{0, 0, 200, 40}, {{0, 0, 60, 40}, {70, 0, 130, 40}, {140, 0, 200, 40}}},
        // 29 spare pixels: 14 above, 15 below.
        {{0, 0, 200, 81}, {{0, 14, 60, 66}, {70, 14, 130, 66}, {140, 14, 200, 66}}},
        {{0, 0, 860, 52}, {{0, 0, 280, 52}, {290, 0, 570, 52}, {580, 0, 860, 52}}},
        // Narrower than the gaps: empty pills, the last one held at no width.
        {{0, 0, 15, 10}, {{0, 0, 0, 10}, {10, 0, 10, 10}, {20, 0, 20, 10}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(Show(c.client));
        const std::array<RECT, 3> pills = LayoutRealmStrip(c.client);
        for (size_t i = 0; i < 3; ++i)
        {
            EXPECT_RECT(pills[i],
                        {c.pills[i].left, c.pills[i].top, c.pills[i].right, c.pills[i].bottom});
        }
    }
}

namespace
{

class RealmStripTest : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(CRect(40, 40, 1040, 440)));
        parent.On(WMU_REALM_PILL_CLICKED,
                  [this](WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT>
                  {
                      EXPECT_EQ(wParam, 0u);
                      clicks.push_back(*reinterpret_cast<const RealmPillClick*>(lParam));
                      return 0;
                  });
        ASSERT_TRUE(strip.Create(&parent, CRect(0, 0, 860, 52), 8714));
        PaintPills();
        Settle();
    }

    void PaintPills()
    {
        for (CRealmSelectorWnd* pill : {&strip.profilePill, &strip.stylePill, &strip.presetPill})
        {
            pill->UpdateWindow();
        }
    }

    // The middles of a pill's zones, as screen points.
    POINT BoxMiddle(const CRealmSelectorWnd& pill) const
    {
        return ScreenPoint(pill, (pill.valueBoxRect.left + pill.valueBoxRect.right) / 2, 26);
    }
    POINT ButtonMiddle(const CRealmSelectorWnd& pill) const
    {
        return ScreenPoint(pill, pill.buttonRect.left + 13, pill.buttonRect.top + 13);
    }

    UINT_PTR Cursor() { return brvl::win32::StandardCursorId(session->ShownCursor()); }

    RecordingWnd parent{"parent", log};
    CRealmSelectorViewportWnd strip;
    std::vector<RealmPillClick> clicks;
};

} // namespace

TEST_F(RealmStripTest, PillsAreConfiguredAsShipped)
{
    struct Want
    {
        const CRealmSelectorWnd* pill;
        int id;
        const wchar_t* title;
        const wchar_t* subtitle;
        const wchar_t* value;
        COLORREF accent;
        int x;
    };
    for (const Want& want :
         {Want{&strip.profilePill, 8720, L"LORE", L"Reference", L"Balanced", 0x20A5DA, 0},
          Want{&strip.stylePill, 8721, L"PROTOCOL", L"Mastering Style", L"Reference Master",
               0xD0964A, 290},
          Want{&strip.presetPill, 8722, L"CHRONICLE", L"Saved preset", L"Untitled", 0x80BE48, 580}})
    {
        SCOPED_TRACE(::testing::Message() << want.id);
        EXPECT_EQ(want.pill->GetDlgCtrlID(), want.id);
        EXPECT_EQ(want.pill->title, want.title);
        EXPECT_EQ(want.pill->subtitle, want.subtitle);
        EXPECT_EQ(want.pill->valueText, want.value);
        EXPECT_EQ(want.pill->accentColor, want.accent);
        EXPECT_TRUE(want.pill->secondaryButtonVisible);
        CRect place;
        want.pill->GetWindowRect(&place);
        parent.ScreenToClient(&place);
        EXPECT_EQ(place, CRect(want.x, 0, want.x + 280, 52));
        wchar_t name[64] = {};
        want.pill->GetWindowText(name, 64);
        EXPECT_STREQ(name, L"BrimvaleRealmSelectorWnd");
        // The last paint's zones: a value box after the measured caption.
        EXPECT_TRUE(want.pill->valueBoxValid);
        EXPECT_EQ(want.pill->valueBoxRect.left, want.pill->MeasureCaptionWidth());
        EXPECT_GT(want.pill->MeasureCaptionWidth(), 72);
        EXPECT_RECT(want.pill->buttonRect, {246, 13, 272, 39});
    }
    EXPECT_EQ(strip.backgroundColor, COLORREF(0x100E0C));
}

TEST_F(RealmStripTest, AClickReachesTheStripsParentOnlyWhenReleasedInThePressedZone)
{
    CRealmSelectorWnd& style = strip.stylePill;
    session->Click(ButtonMiddle(style));
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].zone, 1);
    EXPECT_EQ(clicks[0].controlId, 8721);

    session->Click(BoxMiddle(strip.presetPill));
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[1].zone, 0);
    EXPECT_EQ(clicks[1].controlId, 8722);

    // Box to button, and box to outside the pill: nothing, the highlight gone.
    clicks.clear();
    session->PressButton(BoxMiddle(style));
    EXPECT_EQ(style.pressedZone, RealmPillZoneValueBox);
    session->ReleaseButton(ButtonMiddle(style));
    EXPECT_EQ(style.pressedZone, RealmPillZoneNone);
    session->PressButton(BoxMiddle(style));
    session->ReleaseButton(ScreenPoint(parent, 500, 300));
    EXPECT_EQ(style.pressedZone, RealmPillZoneNone);
    // A press on the caption starts nothing.
    session->Click(ScreenPoint(style, 20, 20));
    EXPECT_EQ(style.pressedZone, RealmPillZoneNone);
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(session->PointerGrab(), nullptr);
}

TEST_F(RealmStripTest, HoverShowsTheHandAcrossMovesAndTheArrowElsewhere)
{
    CRealmSelectorWnd& profile = strip.profilePill;
    const POINT box = BoxMiddle(profile);
    session->MoveMouse(box);
    EXPECT_EQ(profile.hoverZone, RealmPillZoneValueBox);
    EXPECT_EQ(Cursor(), IDC_HAND_ID);
    // The same zone again: the class cursor must not come back.
    session->MoveMouse(POINT{box.x + 3, box.y + 1});
    EXPECT_EQ(Cursor(), IDC_HAND_ID);
    session->MoveMouse(ButtonMiddle(profile));
    EXPECT_EQ(profile.hoverZone, RealmPillZonePlusButton);
    EXPECT_EQ(Cursor(), IDC_HAND_ID);
    session->MoveMouse(ScreenPoint(profile, 20, 20));
    EXPECT_EQ(profile.hoverZone, RealmPillZoneNone);
    EXPECT_EQ(Cursor(), IDC_ARROW_ID);
    session->MoveMouse(box);
    session->MoveMouse(ScreenPoint(parent, 500, 300));
    EXPECT_EQ(profile.hoverZone, RealmPillZoneNone);
    EXPECT_FALSE(profile.trackingMouse);
}

TEST_F(RealmStripTest, ACaptureLostMidPressReportsNothing)
{
    CRealmSelectorWnd& preset = strip.presetPill;
    session->PressButton(ButtonMiddle(preset));
    EXPECT_EQ(preset.pressedZone, RealmPillZonePlusButton);
    parent.SetCapture();
    EXPECT_EQ(preset.pressedZone, RealmPillZoneNone);
    ::ReleaseCapture();
    session->ReleaseButton(ButtonMiddle(preset));
    // Delivered to the pill itself, as a stray release would be.
    preset.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(preset.buttonRect.left + 5, 20));
    EXPECT_TRUE(clicks.empty());
}

TEST_F(RealmStripTest, SettersRepaintOnlyOnAChange)
{
    CRealmSelectorWnd& style = strip.stylePill;
    const auto dirty = [&style] { return ::GetUpdateRect(style.GetSafeHwnd(), nullptr, FALSE); };
    ASSERT_FALSE(dirty());
    style.SetValueText(L"Reference Master");
    style.SetTitle(L"PROTOCOL");
    style.SetSubtitle(L"Mastering Style");
    style.SetAccentColor(0xD0964A);
    style.SetSecondaryButtonVisible(true);
    EXPECT_FALSE(dirty());
    style.SetValueText(L"Warm Glue");
    EXPECT_TRUE(dirty());
    EXPECT_EQ(style.valueText, L"Warm Glue");
    style.UpdateWindow();
    style.SetSecondaryButtonVisible(false);
    EXPECT_TRUE(dirty());
    style.UpdateWindow();
    EXPECT_RECT(style.buttonRect, {0, 0, 0, 0});
    strip.SetBackgroundColor(0x100E0C);
    EXPECT_FALSE(::GetUpdateRect(strip.GetSafeHwnd(), nullptr, FALSE));
}

TEST_F(RealmStripTest, ANarrowPillHasNoValueBoxButItsPlusButtonWorks)
{
    CRealmSelectorWnd pill;
    ASSERT_TRUE(pill.Create(&parent, CRect(20, 200, 170, 252), 8722));
    pill.SetTitle(L"LORE");
    pill.SetSecondaryButtonVisible(true);
    pill.UpdateWindow();
    ASSERT_EQ(pill.MeasureCaptionWidth(), 72);
    EXPECT_FALSE(pill.valueBoxValid);
    session->Click(ScreenPoint(pill, 95, 26)); // where the box would be
    EXPECT_TRUE(clicks.empty());
    session->Click(ScreenPoint(pill, pill.buttonRect.left + 13, 26));
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].zone, 1);
    EXPECT_EQ(clicks[0].controlId, 8722);

    Gdiplus::Bitmap bitmap(150, 52);
    Gdiplus::Graphics graphics(&bitmap);
    PrepareControlGraphics(graphics);
    CRealmSelectorWnd::Draw(graphics, pill.GetState());
    EXPECT_TRUE(SaveControlPicture(bitmap, "realm_pill_narrow"));
}

TEST_F(RealmStripTest, BadSizesAndMissingWindowsNeitherCrashNorSend)
{
    // A pill never painted has no zones yet.
    CRealmSelectorWnd unpainted;
    ASSERT_TRUE(unpainted.Create(&parent, CRect(0, 300, 280, 352), 5));
    unpainted.SetSecondaryButtonVisible(true);
    EXPECT_EQ(unpainted.HitTest(POINT{259, 26}), RealmPillZoneNone);
    EXPECT_EQ(unpainted.HitTest(POINT{150, 26}), RealmPillZoneNone);

    // No window: no DC to measure on and no parent to tell.
    CRealmSelectorWnd loose;
    EXPECT_EQ(loose.MeasureCaptionWidth(), 72);
    loose.NotifyClick(0);
    loose.SetValueText(L"x");

    // A pill without a parent window sends nothing.
    CRealmSelectorWnd topLevel;
    ASSERT_TRUE(topLevel.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE,
                                  CRect(0, 0, 100, 40), nullptr, 0));
    topLevel.NotifyClick(1);

    for (const CSize size : {CSize(19, 52), CSize(1, 1), CSize(0, 0), CSize(5000, 10)})
    {
        SCOPED_TRACE(::testing::Message() << size.cx << " x " << size.cy);
        strip.MoveWindow(0, 0, size.cx, size.cy);
        PaintPills();
        strip.UpdateWindow();
        session->Click(ScreenPoint(strip, 5, 5));
        WindowPicture picture;
        EXPECT_TRUE(ComposeWindowPicture(parent.GetSafeHwnd(), picture));
    }
    // Ten thousand characters: the caption takes the whole pill, no box.
    strip.MoveWindow(0, 0, 860, 52);
    strip.stylePill.SetTitle(std::wstring(10000, L'W'));
    strip.stylePill.SetValueText(std::wstring(10000, L'\xFFFD'));
    PaintPills();
    EXPECT_FALSE(strip.stylePill.valueBoxValid);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(RealmStripTest, DestroyingTheStripDestroysThePills)
{
    const HWND pill = strip.presetPill.GetSafeHwnd();
    ASSERT_TRUE(::IsWindow(pill));
    strip.DestroyWindow();
    EXPECT_FALSE(::IsWindow(pill));
    EXPECT_EQ(strip.presetPill.GetSafeHwnd(), nullptr);
}

TEST_F(RealmStripTest, PictureOfTheStripWithAHoveredAndAPressedPill)
{
    const auto picture = [this](const std::string& name)
    {
        PaintPills();
        return RenderWindowToPng(strip.GetSafeHwnd(), ControlPicturePath(name));
    };
    ASSERT_TRUE(picture("realm_strip_idle"));
    WindowPicture idle;
    ASSERT_TRUE(ComposeWindowPicture(strip.GetSafeHwnd(), idle));

    session->MoveMouse(BoxMiddle(strip.stylePill));
    strip.presetPill.pressedZone = RealmPillZonePlusButton;
    strip.presetPill.Invalidate(FALSE);
    ASSERT_TRUE(picture("realm_strip"));
    WindowPicture lit;
    ASSERT_TRUE(ComposeWindowPicture(strip.GetSafeHwnd(), lit));

    // The body, the caption and the box of an idle pill.
    const CRealmSelectorWnd& profile = strip.profilePill;
    EXPECT_EQ(idle.ColorAt(profile.valueBoxRect.left + 1, 26) != idle.ColorAt(8, 26), true);
    // Hovering brightens the style pill's box; pressing lights the preset's
    // plus ring; the profile pill stays as it was.
    const int box = 290 + strip.stylePill.valueBoxRect.left + 6;
    EXPECT_GT(GetRValue(lit.ColorAt(box, 26)), GetRValue(idle.ColorAt(box, 26)));
    const int ring = 580 + strip.presetPill.buttonRect.left + 1;
    EXPECT_GT(GetGValue(lit.ColorAt(ring, 26)), GetGValue(idle.ColorAt(ring, 26)));
    EXPECT_EQ(lit.ColorAt(profile.valueBoxRect.left + 6, 26),
              idle.ColorAt(profile.valueBoxRect.left + 6, 26));
}

TEST_F(RealmStripTest, DrawPaintsWhatTheWindowShows)
{
    CRealmSelectorWnd& style = strip.stylePill;
    Gdiplus::Bitmap bitmap(280, 52);
    {
        Gdiplus::Graphics graphics(&bitmap);
        PrepareControlGraphics(graphics);
        CRealmSelectorWnd::Draw(graphics, style.GetState());
    }
    EXPECT_EQ(PixelsDifferingFromWindow(style.GetSafeHwnd(), bitmap), 0);
    ExpectDrawLeavesGraphicsUsable<CRealmSelectorWnd>(style.GetState());
}
