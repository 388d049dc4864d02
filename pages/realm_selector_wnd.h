#pragma once

#include "platform/mfc/afxwin.h"
#include "platform/win32/win_messages.h"

#include <array>
#include <string>

namespace Gdiplus
{
class Graphics;
}

// The realm selector: the row of three pills along the top of the main
// window through which the user chooses the reference profile, the mastering
// style and the saved preset. Each pill shows a caption, a value box with the
// current choice and a plus button; a click on the box or the button goes to
// the strip, which passes it on to its parent unchanged. The pills know
// nothing of profiles, styles or presets.

// A pill's click: sent (never posted) by the pill to the strip and by the
// strip to its parent; lParam a RealmPillClick on the sender's stack, valid
// during the call only.
constexpr UINT WMU_REALM_PILL_CLICKED = WM_APP + 276; // 0x8114

struct RealmPillClick
{
    int zone = 0;      // 0 the value box, 1 the plus button
    int controlId = 0; // the pill's control id
};

// Where a point lies on a pill.
enum RealmPillZone : int
{
    RealmPillZoneNone = 0,
    RealmPillZoneValueBox = 1,
    RealmPillZonePlusButton = 2,
};

constexpr UINT kRealmProfilePillId = 8720;
constexpr UINT kRealmStylePillId = 8721;
constexpr UINT kRealmPresetPillId = 8722;

// The caption column's width from the measured title and subtitle widths.
int RealmCaptionWidth(float titleWidth, float subtitleWidth);

// A pill's value box and plus button, from its client rectangle and caption
// column width.
struct RealmPillZones
{
    RECT valueBoxRect{};
    RECT buttonRect{};
    bool valueBoxValid = false;
};
RealmPillZones ComputeRealmPillZones(const RECT& client, int captionWidth, bool buttonVisible);

class CRealmSelectorWnd : public CWnd
{
    DECLARE_DYNAMIC(CRealmSelectorWnd)

public:
    // What a paint shows; the zones follow from the size and caption width.
    struct State
    {
        CSize size;
        std::wstring title;
        std::wstring subtitle;
        std::wstring valueText;
        COLORREF accentColor = 0xDCA050;
        bool secondaryButtonVisible = false;
        int hoverZone = RealmPillZoneNone;
        int pressedZone = RealmPillZoneNone;
        int captionWidth = 72;
    };

    CRealmSelectorWnd() = default;

    BOOL Create(CWnd* parent, const RECT& rect, UINT controlId);

    // Each stores and repaints only on a change.
    void SetTitle(const std::wstring& text);
    void SetSubtitle(const std::wstring& text);
    void SetValueText(const std::wstring& text);
    void SetAccentColor(COLORREF color);
    void SetSecondaryButtonVisible(bool visible);

    // Measured on the pill's own DC; 72 when it has none.
    int MeasureCaptionWidth() const;
    // By the zones of the last paint.
    int HitTest(POINT point) const;
    // Tells the parent, when there is one.
    void NotifyClick(int zone);

    State GetState() const;
    static void Draw(Gdiplus::Graphics& graphics, const State& state);

    std::wstring title;
    std::wstring subtitle;
    std::wstring valueText;
    COLORREF accentColor = 0xDCA050;
    bool secondaryButtonVisible = false;
    int hoverZone = RealmPillZoneNone;
    int pressedZone = RealmPillZoneNone;
    bool trackingMouse = false;
    RECT valueBoxRect{};
    RECT buttonRect{};
    bool valueBoxValid = true;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* wnd);
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    DECLARE_MESSAGE_MAP()
};

// The strip's three pill rectangles, profile, style and preset, from its
// client rectangle.
std::array<RECT, 3> LayoutRealmStrip(const RECT& client);

class CRealmSelectorViewportWnd : public CWnd
{
    DECLARE_DYNAMIC(CRealmSelectorViewportWnd)

public:
    CRealmSelectorViewportWnd() = default;

    // Creates the strip's window as the view does and then its pills.
    BOOL Create(CWnd* parent, const RECT& rect, UINT id);

    // Creates the pills that have no window yet, configured as shipped.
    void EnsureChildren();
    void LayoutChildren();
    void SetBackgroundColor(COLORREF color);

    CRealmSelectorWnd profilePill;
    CRealmSelectorWnd stylePill;
    CRealmSelectorWnd presetPill;
    COLORREF backgroundColor = 0x100E0C;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnPillClicked(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
