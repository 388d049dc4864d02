#pragma once

#include "platform/mfc/base_pane.h"
#include "platform/mfc/popup_menu.h"

#include <vector>

// The bar at the top of a frame showing the frame's menu: each top item opens
// its popup by click, by Alt+mnemonic, or by Alt / F10 and the arrow keys.
// Items get their command state (WM_INITMENUPOPUP) as their popup opens; a
// chosen item's command goes to the frame.
class CMFCMenuBar : public CBasePane, private CMenuTrackerHost
{
    DECLARE_DYNAMIC(CMFCMenuBar)

public:
    CMFCMenuBar();
    ~CMFCMenuBar() override;

    virtual BOOL Create(CWnd* parent, DWORD style = AFX_DEFAULT_TOOLBAR_STYLE,
                        UINT id = AFX_IDW_MENUBAR);
    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;

    // The frame's hook for its windows' keys (TRUE when the key belongs to the
    // menu) and presses (a press elsewhere ends keyboard menu mode).
    BOOL PreTranslateFrameMessage(const MSG& msg);
    // A menu is open or the bar is highlighted from the keyboard.
    BOOL IsInMenuMode() const { return m_keyboardMode || m_tracker.IsOpen(); }
    // The top item highlighted or open, -1 for none.
    int HighlightedItem() const { return m_highlighted; }
    // The open popup's menu and selection (tests).
    HMENU OpenPopupMenu() const { return m_tracker.RootMenu(); }
    CMFCPopupMenu* OpenPopup() const { return m_tracker.Innermost(); }
    int OpenPopupSelection() const;
    // The client rectangle of top item `index`.
    CRect ItemRect(int index) const;
    int ItemCount() const { return static_cast<int>(m_itemRects.size()); }

protected:
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnMouseLeave();
    afx_msg LRESULT OnDpiChanged(WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()

private:
    HMENU Menu() const;
    void Layout();
    int ItemAtClient(CPoint point) const;
    void OpenItem(int index, bool selectFirst);
    void EndMenuMode();
    void SetHighlighted(int index);

    // CMenuTrackerHost
    void PopupOpening(HMENU menu, int index) override;
    void CommandChosen(UINT id) override;
    void MenuDismissed(Dismissal why) override;
    bool MoveToNeighbour(int direction) override;
    bool MouseOutside(UINT msg, POINT screen) override;
    void Highlighted(UINT id) override;

    CMenuTracker m_tracker;
    std::vector<CRect> m_itemRects;
    int m_highlighted = -1;
    int m_hot = -1;
    bool m_keyboardMode = false; // highlighted by Alt or F10, no popup open
    bool m_altArmed = false;     // Alt went down alone; its release enters keyboard mode
};
