#pragma once

#include "platform/mfc/base_pane.h"
#include "platform/mfc/cstring.h"

#include <string>
#include <vector>

// The bar at the bottom of a frame: a message pane (ID_SEPARATOR, "Ready" when
// idle, menu prompts while a menu item is highlighted) and indicator panes
// whose text shows while their command-update handler enables them.
class CMFCStatusBar : public CBasePane
{
    DECLARE_DYNAMIC(CMFCStatusBar)

public:
    virtual BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                        UINT id = AFX_IDW_STATUS_BAR);
    // Ids of the panes; each indicator's text is its string.
    BOOL SetIndicators(const UINT* ids, int count);
    int GetCount() const { return static_cast<int>(m_panes.size()); }
    UINT GetItemID(int index) const;
    BOOL SetPaneText(int index, LPCTSTR text, BOOL update = TRUE);
    CString GetPaneText(int index) const;
    // Whether an indicator is lit (its text shown).
    BOOL IsPaneLit(int index) const;

    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;

protected:
    afx_msg void OnPaint();
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM);

    struct Pane
    {
        UINT id = 0;
        std::wstring text;
        bool lit = true;
    };
    std::vector<Pane> m_panes;

    DECLARE_MESSAGE_MAP()
};
