#include "pages/realm_selector_wnd.h"

#include "controls/base/client_state.h"
#include "controls/base/double_buffered_paint.h"
#include "controls/base/painting_helpers.h"
#include "controls/base/standard_cursor.h"
#include "pages/page_painting.h"
#include "pages/page_window.h"
#include "platform/gdiplus/gdiplus.h"

#include <algorithm>
#include <cmath>

namespace
{

using Gdiplus::REAL;

// A text width past any screen widens the caption only to that screen.
constexpr float kWidestCaption = 100000.0f;

constexpr int kLeastCaption = 72;
constexpr int kCaptionPadding = 34;
constexpr int kButtonSpace = 34; // the plus button and its margin at the right end
constexpr int kBoxGap = 8;       // between the value box and the plus button
constexpr int kLeastBox = 40;
constexpr int kButtonSize = 26;

constexpr int kPillWidth = 280;
constexpr int kPillHeight = 52;
constexpr int kPillGap = 10;

constexpr Gdiplus::ARGB kPillBackdrop = 0xFF0C0E10;
constexpr Gdiplus::ARGB kShadow = 0x24000000;
constexpr Gdiplus::ARGB kTitleColor = 0xFFECE7DD;
constexpr Gdiplus::ARGB kSubtitleColor = 0xFF78746C;

Gdiplus::Font TitleFont()
{
    return PagePointFont(10.0f, Gdiplus::FontStyleBold);
}

// The box's gradient, outline alpha and text colour for its interaction state;
// pressed wins over hovered.
struct BoxLook
{
    Gdiplus::ARGB top;
    Gdiplus::ARGB bottom;
    BYTE outlineAlpha;
    Gdiplus::ARGB text;
    BYTE chevronAlpha;
};

BoxLook BoxLookFor(int hoverZone, int pressedZone)
{
    if (pressedZone == RealmPillZoneValueBox)
    {
        return {0xFF0A0C10, 0xFF06080A, 160, 0xFFC8C4BC, 160};
    }
    if (hoverZone == RealmPillZoneValueBox)
    {
        return {0xFF16191E, 0xFF101218, 110, 0xFFF8F4EC, 200};
    }
    return {0xFF101216, 0xFF0A0C10, 50, 0xFFECE7DD, 120};
}

void DrawValueBox(Gdiplus::Graphics& graphics, const CRealmSelectorWnd::State& state,
                  const RECT& box)
{
    const REAL x = REAL(box.left);
    const REAL y = 6.0f;
    const REAL w = REAL(box.right - box.left);
    const REAL h = REAL(state.size.cy - 12);
    const BoxLook look = BoxLookFor(state.hoverZone, state.pressedZone);
    const Gdiplus::Pen outline(AccentLift(state.accentColor, look.outlineAlpha, 0.85, 30), 1.0f);
    FillRoundedGradient(graphics, Gdiplus::RectF(x, y, w, h), 4.0f, look.top, look.bottom,
                        &outline);

    const Gdiplus::Font valueFont(L"Segoe UI", 18.0f, Gdiplus::FontStyleBold, Gdiplus::UnitPixel);
    DrawPageText(graphics, state.valueText, valueFont, look.text,
                 Gdiplus::RectF(x + 12, y, w - 40, h),
                 {Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter, false, true});

    RoundCapPen chevron(AccentLift(state.accentColor, look.chevronAlpha, 0.7, 60), 1.5);
    chevron.SetLineJoin(Gdiplus::LineJoinRound);
    const REAL cx = x + w - 18;
    const REAL cy = y + h / 2;
    const Gdiplus::PointF v[] = {{cx - 3.5f, cy - 2.1f}, {cx, cy + 2.1f}, {cx + 3.5f, cy - 2.1f}};
    graphics.DrawLines(&chevron, v, 3);
}

void DrawPlusButton(Gdiplus::Graphics& graphics, const CRealmSelectorWnd::State& state,
                    const RECT& button)
{
    const BYTE alpha = state.pressedZone == RealmPillZonePlusButton ? 255
                       : state.hoverZone == RealmPillZonePlusButton ? 210
                                                                    : 100;
    const Gdiplus::Color color = AccentLift(state.accentColor, alpha, 0.7, 66);
    const REAL cx = REAL(button.left + 13);
    const REAL cy = REAL(button.top + 13);
    const Gdiplus::Pen ring(color, 1.25f);
    graphics.DrawEllipse(&ring, cx - 12, cy - 12, 24.0f, 24.0f);
    const RoundCapPen cross(color, 1.25);
    graphics.DrawLine(&cross, cx - 5, cy, cx + 5, cy);
    graphics.DrawLine(&cross, cx, cy - 5, cx, cy + 5);
}

} // namespace

int RealmCaptionWidth(float titleWidth, float subtitleWidth)
{
    const auto whole = [](float width)
    { return std::isfinite(width) ? int(std::ceil(std::clamp(width, 0.0f, kWidestCaption))) : 0; };
    return std::max(kLeastCaption,
                    std::max(whole(titleWidth), whole(subtitleWidth)) + kCaptionPadding);
}

RealmPillZones ComputeRealmPillZones(const RECT& client, int captionWidth, bool buttonVisible)
{
    RealmPillZones zones;
    const int boxRight = (buttonVisible ? client.right - kButtonSpace : client.right) - kBoxGap;
    const int boxLeft = client.left + captionWidth;
    if (boxRight - boxLeft >= kLeastBox)
    {
        zones.valueBoxRect = {boxLeft, client.top, boxRight, client.bottom};
        zones.valueBoxValid = true;
    }
    if (buttonVisible)
    {
        const int x = client.right - kButtonSpace;
        const int y = client.top + (client.bottom - client.top - kButtonSize) / 2;
        zones.buttonRect = {x, y, x + kButtonSize, y + kButtonSize};
    }
    return zones;
}

// ---------------------------------------------------------------------------
// The pill

IMPLEMENT_DYNAMIC(CRealmSelectorWnd, CWnd)

BEGIN_MESSAGE_MAP(CRealmSelectorWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_MOUSEMOVE()
ON_WM_MOUSELEAVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_CAPTURECHANGED()
ON_WM_SETCURSOR()
END_MESSAGE_MAP()

BOOL CRealmSelectorWnd::Create(CWnd* parent, const RECT& rect, UINT controlId)
{
    return CreatePageWindow(*this, parent, rect, controlId, L"BrimvaleRealmSelectorWnd");
}

void CRealmSelectorWnd::SetTitle(const std::wstring& text)
{
    StoreAndRepaint(*this, title, text);
}

void CRealmSelectorWnd::SetSubtitle(const std::wstring& text)
{
    StoreAndRepaint(*this, subtitle, text);
}

void CRealmSelectorWnd::SetValueText(const std::wstring& text)
{
    StoreAndRepaint(*this, valueText, text);
}

void CRealmSelectorWnd::SetAccentColor(COLORREF color)
{
    StoreAndRepaint(*this, accentColor, color);
}

void CRealmSelectorWnd::SetSecondaryButtonVisible(bool visible)
{
    StoreAndRepaint(*this, secondaryButtonVisible, visible);
}

int CRealmSelectorWnd::MeasureCaptionWidth() const
{
    if (!::IsWindow(m_hWnd))
    {
        return kLeastCaption;
    }
    CClientDC dc(const_cast<CRealmSelectorWnd*>(this));
    if (dc.GetSafeHdc() == nullptr)
    {
        return kLeastCaption;
    }
    Gdiplus::Graphics graphics(dc.GetSafeHdc());
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
    return RealmCaptionWidth(MeasurePageText(graphics, title, TitleFont()),
                             MeasurePageText(graphics, subtitle, PagePointFont(9.0f)));
}

int CRealmSelectorWnd::HitTest(POINT point) const
{
    if (secondaryButtonVisible && ::PtInRect(&buttonRect, point))
    {
        return RealmPillZonePlusButton;
    }
    if (valueBoxValid && ::PtInRect(&valueBoxRect, point))
    {
        return RealmPillZoneValueBox;
    }
    return RealmPillZoneNone;
}

void CRealmSelectorWnd::NotifyClick(int zone)
{
    const HWND parent = ::IsWindow(m_hWnd) ? ::GetParent(m_hWnd) : nullptr;
    if (parent == nullptr)
    {
        return;
    }
    RealmPillClick click;
    click.zone = zone;
    click.controlId = ::GetDlgCtrlID(m_hWnd);
    ::SendMessageW(parent, WMU_REALM_PILL_CLICKED, 0, reinterpret_cast<LPARAM>(&click));
}

CRealmSelectorWnd::State CRealmSelectorWnd::GetState() const
{
    State state;
    state.size = ClientSizeOf(*this);
    state.title = title;
    state.subtitle = subtitle;
    state.valueText = valueText;
    state.accentColor = accentColor;
    state.secondaryButtonVisible = secondaryButtonVisible;
    state.hoverZone = hoverZone;
    state.pressedZone = pressedZone;
    state.captionWidth = MeasureCaptionWidth();
    return state;
}

void CRealmSelectorWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    const int width = state.size.cx;
    const int height = state.size.cy;
    if (width <= 0 || height <= 0)
    {
        return;
    }
    graphics.Clear(Gdiplus::Color(kPillBackdrop));
    const RealmPillZones zones = ComputeRealmPillZones(
        RECT{0, 0, width, height}, state.captionWidth, state.secondaryButtonVisible);

    Gdiplus::GraphicsPath shadow;
    AddRoundedRectFigure(shadow, -1.0f, 3.0f, REAL(width + 2), REAL(height + 2), 6.0f);
    const Gdiplus::SolidBrush shade{Gdiplus::Color(kShadow)};
    graphics.FillPath(&shade, &shadow);
    PaintPageBody(graphics, Gdiplus::RectF(0, 0, REAL(width), REAL(height)), 5.0f);

    const REAL captionText = REAL(state.captionWidth - kCaptionPadding);
    const PageTextFormat caption{Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear, false,
                                 true};
    DrawPageText(graphics, state.title, TitleFont(), kTitleColor,
                 Gdiplus::RectF(14, 9, captionText, 16), caption);
    DrawPageText(graphics, state.subtitle, PagePointFont(9.0f), kSubtitleColor,
                 Gdiplus::RectF(14, 27, captionText, 14), caption);

    if (zones.valueBoxValid)
    {
        DrawValueBox(graphics, state, zones.valueBoxRect);
    }
    if (state.secondaryButtonVisible)
    {
        DrawPlusButton(graphics, state, zones.buttonRect);
    }
}

void CRealmSelectorWnd::OnPaint()
{
    PaintDoubleBuffered(*this,
                        [this](Gdiplus::Graphics& graphics, const RECT& client)
                        {
                            State state = GetState();
                            state.size = CSize(client.right, client.bottom);
                            // Hit testing follows what this paint shows.
                            const RealmPillZones zones = ComputeRealmPillZones(
                                client, state.captionWidth, state.secondaryButtonVisible);
                            valueBoxRect = zones.valueBoxRect;
                            buttonRect = zones.buttonRect;
                            valueBoxValid = zones.valueBoxValid;
                            Draw(graphics, state);
                        });
}

namespace
{

void ShowZoneCursor(int zone)
{
    ShowStandardCursor(zone == RealmPillZoneNone ? IDC_ARROW : IDC_HAND);
}

} // namespace

void CRealmSelectorWnd::OnMouseMove(UINT, CPoint point)
{
    if (!trackingMouse)
    {
        trackingMouse = RequestMouseLeave(*this);
    }
    const int zone = HitTest(point);
    if (zone != hoverZone)
    {
        hoverZone = zone;
        ShowZoneCursor(zone);
        RepaintWhole(*this);
    }
}

void CRealmSelectorWnd::OnMouseLeave()
{
    trackingMouse = false;
    if (hoverZone != RealmPillZoneNone)
    {
        hoverZone = RealmPillZoneNone;
        ShowZoneCursor(hoverZone);
        RepaintWhole(*this);
    }
}

void CRealmSelectorWnd::OnLButtonDown(UINT, CPoint point)
{
    const int zone = HitTest(point);
    if (zone == RealmPillZoneNone)
    {
        return;
    }
    pressedZone = zone;
    SetCapture();
    RepaintWhole(*this);
}

void CRealmSelectorWnd::OnLButtonUp(UINT, CPoint point)
{
    const int pressed = pressedZone;
    if (pressed == RealmPillZoneNone)
    {
        return;
    }
    // Cleared first: the release below tells OnCaptureChanged nothing is held.
    pressedZone = RealmPillZoneNone;
    if (GetCapture() == this)
    {
        ::ReleaseCapture();
    }
    RepaintWhole(*this);
    if (HitTest(point) == pressed)
    {
        NotifyClick(pressed == RealmPillZoneValueBox ? 0 : 1);
    }
}

void CRealmSelectorWnd::OnCaptureChanged(CWnd*)
{
    // Another window took the mouse mid-press: the press is over, unreported.
    if (pressedZone != RealmPillZoneNone)
    {
        pressedZone = RealmPillZoneNone;
        RepaintWhole(*this);
    }
}

BOOL CRealmSelectorWnd::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    if (hitTest != HTCLIENT)
    {
        return CWnd::OnSetCursor(wnd, hitTest, message);
    }
    ShowZoneCursor(hoverZone);
    return TRUE;
}

// ---------------------------------------------------------------------------
// The strip

std::array<RECT, 3> LayoutRealmStrip(const RECT& client)
{
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    const int pill = std::max(width - 2 * kPillGap, 0) / 3;
    const int y = client.top + std::max((height - kPillHeight) / 2, 0);
    const int bottom = std::min(y + kPillHeight, int(client.bottom));
    const int lastX = client.left + 2 * pill + 2 * kPillGap;
    return {RECT{client.left, y, client.left + pill, bottom},
            RECT{client.left + pill + kPillGap, y, client.left + 2 * pill + kPillGap, bottom},
            RECT{lastX, y, lastX + std::max(int(client.right) - lastX, 0), bottom}};
}

IMPLEMENT_DYNAMIC(CRealmSelectorViewportWnd, CWnd)

BEGIN_MESSAGE_MAP(CRealmSelectorViewportWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_DESTROY()
ON_MESSAGE(WMU_REALM_PILL_CLICKED, &CRealmSelectorViewportWnd::OnPillClicked)
END_MESSAGE_MAP()

BOOL CRealmSelectorViewportWnd::Create(CWnd* parent, const RECT& rect, UINT id)
{
    if (!CreatePageWindow(*this, parent, rect, id, L"BrimvaleRealmSelectorViewportWnd"))
    {
        return FALSE;
    }
    EnsureChildren();
    SetBackgroundColor(0x100E0C);
    return TRUE;
}

void CRealmSelectorViewportWnd::EnsureChildren()
{
    if (!::IsWindow(m_hWnd))
    {
        return;
    }
    struct PillRow
    {
        CRealmSelectorWnd* pill;
        UINT id;
        const wchar_t* title;
        const wchar_t* subtitle;
        const wchar_t* firstValue;
        COLORREF accent;
    };
    const PillRow rows[] = {
        {&profilePill, kRealmProfilePillId, L"LORE", L"Reference", L"Balanced", 0x20A5DA},
        {&stylePill, kRealmStylePillId, L"PROTOCOL", L"Mastering Style", L"Reference Master",
         0xD0964A},
        {&presetPill, kRealmPresetPillId, L"CHRONICLE", L"Saved preset", L"Untitled", 0x80BE48},
    };
    for (const PillRow& row : rows)
    {
        if (::IsWindow(row.pill->GetSafeHwnd()) ||
            !row.pill->Create(this, RECT{0, 0, kPillWidth, kPillHeight}, row.id))
        {
            continue;
        }
        row.pill->SetTitle(row.title);
        row.pill->SetSubtitle(row.subtitle);
        row.pill->SetValueText(row.firstValue);
        row.pill->SetAccentColor(row.accent);
        row.pill->SetSecondaryButtonVisible(true);
    }
    LayoutChildren();
}

void CRealmSelectorViewportWnd::LayoutChildren()
{
    if (!::IsWindow(m_hWnd) || !::IsWindow(profilePill.GetSafeHwnd()))
    {
        return;
    }
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
    {
        return;
    }
    const std::array<RECT, 3> places = LayoutRealmStrip(client);
    CRealmSelectorWnd* pills[] = {&profilePill, &stylePill, &presetPill};
    for (size_t i = 0; i < places.size(); ++i)
    {
        if (::IsWindow(pills[i]->GetSafeHwnd()))
        {
            pills[i]->MoveWindow(&places[i], TRUE);
            pills[i]->ShowWindow(SW_SHOW);
        }
    }
}

void CRealmSelectorViewportWnd::SetBackgroundColor(COLORREF color)
{
    StoreAndRepaint(*this, backgroundColor, color);
}

void CRealmSelectorViewportWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, backgroundColor);
}

void CRealmSelectorViewportWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    LayoutChildren();
}

void CRealmSelectorViewportWnd::OnDestroy()
{
    for (CRealmSelectorWnd* pill : {&profilePill, &stylePill, &presetPill})
    {
        if (::IsWindow(pill->GetSafeHwnd()))
        {
            pill->DestroyWindow();
        }
    }
    CWnd::OnDestroy();
}

LRESULT CRealmSelectorViewportWnd::OnPillClicked(WPARAM wParam, LPARAM lParam)
{
    const HWND parent = ::GetParent(m_hWnd);
    if (parent != nullptr)
    {
        ::SendMessageW(parent, WMU_REALM_PILL_CLICKED, wParam, lParam);
    }
    return 0;
}
