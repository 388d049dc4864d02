#pragma once

#include "platform/mfc/afx_res.h"
#include "platform/mfc/wnd.h"

class CFrameWnd;

// A bar that a frame lays out along one of its edges (menu bar, status bar,
// docking pane). The frame asks each visible pane for its thickness with
// CalcFixedLayout and gives the view what is left.
class CBasePane : public CWnd
{
    DECLARE_DYNAMIC(CBasePane)

public:
    CBasePane();
    ~CBasePane() override;

    // horz: the pane lies along the top or bottom edge. Base: the minimum size's
    // height (width when vertical), 0 when hidden.
    virtual CSize CalcFixedLayout(BOOL stretch, BOOL horz);
    virtual void ShowPane(BOOL show, BOOL delay, BOOL activate);
    virtual BOOL IsVisible() const;
    // Panes listed by the frame's pane menu (View > Toolbars).
    virtual BOOL IsPaneMenuCandidate() const { return FALSE; }

    virtual void SetPaneStyle(DWORD style) { m_dwStyle = style; }
    virtual DWORD GetPaneStyle() const { return m_dwStyle; }
    void SetControlBarStyle(DWORD style) { m_dwControlBarStyle = style; }
    DWORD GetControlBarStyle() const { return m_dwControlBarStyle; }
    void EnableDocking(DWORD alignment) { m_dwEnabledAlignment = alignment; }
    DWORD GetEnabledAlignment() const { return m_dwEnabledAlignment; }
    void SetMinSize(const CSize& size) { m_sizeMin = size; }
    void GetMinSize(CSize& size) const { size = m_sizeMin; }
    BOOL IsBottom() const { return (m_dwStyle & CBRS_ALIGN_BOTTOM) != 0; }

protected:
    // Creates the child window and registers it with its parent frame.
    BOOL CreatePane(LPCTSTR title, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // The frame's layout, after a change of the pane's size or visibility.
    void RecalcParentLayout();

    afx_msg void OnDestroy();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);

    DWORD m_dwStyle = 0;
    DWORD m_dwControlBarStyle = 0;
    DWORD m_dwEnabledAlignment = 0;
    CSize m_sizeMin{0, 0};
    CFrameWnd* m_pRegisteredFrame = nullptr;

    DECLARE_MESSAGE_MAP()
};
