#pragma once

#include "platform/mfc/afxwin.h"
#include "profiles/reference_profile_viewport_wnd.h"

namespace Gdiplus
{
class Graphics;
}

// The creator page asks its parent (the main view) to analyse the target, to
// save the analysed profile or to drop it: sent with wParam the page's window
// and lParam pointing to a ProfileCreatorActionRecord on the page's stack.
constexpr UINT WMU_PROFILE_CREATOR_ACTION = WM_APP + 896; // 0x8380

struct ProfileCreatorActionRecord
{
    int action = 0; // kProfileCreatorAnalyze, kProfileCreatorSave or kProfileCreatorCancel
};

constexpr int kProfileCreatorAnalyze = 0;
constexpr int kProfileCreatorSave = 1;
constexpr int kProfileCreatorCancel = 2;

// Where the page puts its parts in a client rectangle.
struct ProfileCreatorLayout
{
    RECT panel;
    RECT inspector;
    RECT dropZone;
    RECT analyzeButton;
    RECT saveButton;
    RECT cancelButton;
};

// The hover and pressed looks of the drop zone and the three buttons.
struct ProfileCreatorLooks
{
    bool dropZoneHover = false;
    bool dropZonePressed = false;
    bool analyzeHover = false;
    bool analyzePressed = false;
    bool saveHover = false;
    bool savePressed = false;
    bool cancelHover = false;
    bool cancelPressed = false;

    bool Any() const;
};

// True at once for anything but an MP3; for an MP3 the user is warned that it
// loses accuracy and decides (Yes accepts).
bool ConfirmMp3ProfileSource(const CString& path);

// The page on which the user makes a reference profile from a track of their
// choice: a left column with a drop zone (a drop, or a click that opens the
// file dialog, picks the track) and the Analyze, Save Profile and Cancel
// buttons, and an embedded inspector showing the analysed profile. The page
// does no audio or file work: each button is reported to the parent, which
// writes the outcome back through GetInspector and SetAnalyzed.
class CProfileCreatorViewportWnd : public CWnd
{
    DECLARE_DYNAMIC(CProfileCreatorViewportWnd)

public:
    // What a paint of the page itself shows (the inspector paints its own window).
    struct State
    {
        CSize size;
        COLORREF backgroundColor = 0x100E0C;
        CString targetPath;
        bool analyzed = false;
        ProfileCreatorLooks looks;
    };

    CProfileCreatorViewportWnd();
    ~CProfileCreatorViewportWnd() override;

    // True only when both the page and its inspector exist.
    BOOL Create(const RECT& rect, CWnd* parent);

    void SetBackgroundColor(COLORREF color);
    CString GetTargetPath() const { return targetPath; }
    CReferenceProfileViewportWnd& GetInspector() { return inspector; }
    void SetAnalyzed(bool value) { analyzed = value; }

    static ProfileCreatorLayout ComputeLayout(const RECT& client);

    State GetState() const;
    static void Draw(Gdiplus::Graphics& graphics, const State& state);

    COLORREF backgroundColor = 0x100E0C;
    CString targetPath;
    bool analyzed = false;
    CReferenceProfileViewportWnd inspector;
    bool trackingMouse = false;
    ProfileCreatorLooks looks;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    afx_msg void OnMouseLeave();
    afx_msg void OnDropFiles(HDROP drop);
    DECLARE_MESSAGE_MAP()

private:
    // Which areas a point is over, each only while it is offered.
    struct Hits
    {
        bool dropZone = false;
        bool analyze = false;
        bool save = false;
        bool cancel = false;
    };
    Hits HitsAt(CPoint point) const;

    void BrowseTargetAudio();
    // A new target: back to "Target chosen" with the inspector cleared.
    void AcceptTarget(const CString& path);
    // Empties the inspector and leaves the Analysed state before Save Profile
    // or Cancel is reported.
    void LeaveAnalysed();
    void SendAction(int action);
    void PlaceInspector();
    void Repaint();
};
