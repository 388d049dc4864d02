#pragma once

#include "controls/buttons/breadcrumb_button_wnd.h"
#include "engine/profiles/reference_profile.h"
#include "platform/mfc/afxwin.h"

#include <array>
#include <string>

namespace Gdiplus
{
class Graphics;
}

// The inspector asks its parent (the main view) to open the profile editor:
// sent with wParam 0 and lParam pointing to an OpenProfileEditorRecord on the
// sender's stack.
constexpr UINT WMU_OPEN_PROFILE_EDITOR = WM_APP + 929; // 0x83A1

struct OpenProfileEditorRecord
{
    int request = 0; // always 0
};

// One card of the loudness row.
struct LoudnessCard
{
    CString title;
    CString value;
    CString caption;
    COLORREF accent;
};

// "%.<decimals>f" of `value` followed by `suffix`.
CString FormatFixed(double value, int decimals, const wchar_t* suffix);

// The four cards: integrated loudness, loudness range, peak and reference RMS.
std::array<LoudnessCard, 4> LoudnessCardsOf(const ReferenceProfile& profile);

// "<source>   |   <rate> Hz   |   <created>", with "Unknown source" and
// "Unknown date" for empty texts.
CString FormatSourceLine(const ReferenceProfile& profile);

// Where the inspector puts its parts in a client rectangle.
struct InspectorLayout
{
    RECT toneMap;
    RECT widthPanel;
    RECT cards;
    RECT sourceLine;
};
InspectorLayout LayOutInspector(const RECT& client);

// The Edit button's place: the tone map's top-right corner, 14 pixels in.
RECT EditButtonRect(const RECT& client);

// The read-only page that shows one reference profile: its tone map, its
// stereo width per band in one of three views (a click on the panel cycles
// them), its loudness figures and its source. Its one child is an "Edit"
// link, offered only where the owner enables it, that asks the parent to open
// the profile editor.
class CReferenceProfileViewportWnd : public CWnd
{
    DECLARE_DYNAMIC(CReferenceProfileViewportWnd)

public:
    // What a paint shows.
    struct State
    {
        CSize size;
        bool hasProfile = false;
        CString errorText;
        COLORREF backgroundColor = 0x100E0C;
        ReferenceProfile profile;
        int widthViewMode = 0;
        bool widthPanelHover = false;
        bool widthPanelPressed = false;
    };

    CReferenceProfileViewportWnd();

    BOOL Create(const RECT& rect, CWnd* parent, UINT id);

    // Reads and shows the profile at `path`; false, with the reader's text
    // shown, when it cannot be read (the profile shown before is dropped).
    bool LoadProfile(const std::wstring& path);
    void SetProfile(const ReferenceProfile& newProfile, const std::wstring& path);
    void ClearProfile();
    void SetBackgroundColor(COLORREF color);
    void SetEditEnabled(bool enabled);

    State GetState() const;
    static void Draw(Gdiplus::Graphics& graphics, const State& state);

    bool hasProfile = false;
    CString profilePath;
    CString errorText;
    COLORREF backgroundColor = 0x100E0C;
    ReferenceProfile profile;
    CBreadcrumbButtonWnd editButton;
    RECT widthPanelRect{};
    bool editEnabled = false;
    bool widthPanelHover = false;
    bool widthPanelPressed = false;
    bool trackingMouse = false;
    int widthViewMode = 0;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    afx_msg void OnMouseLeave();
    afx_msg LRESULT OnControlChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Moves the Edit button to its place and shows it only while a profile
    // is loaded on a page that offers editing.
    void PlaceEditButton();
    void ShowOrHideEditButton();
    void Repaint();
    bool OverWidthPanel(CPoint point) const;
};
