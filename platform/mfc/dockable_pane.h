#pragma once

#include "platform/mfc/base_pane.h"

// A pane docked as one fixed strip at the top of its frame; it has a caption
// (its entry in the pane menu) and a fixed height.
class CDockablePane : public CBasePane
{
    DECLARE_DYNAMIC(CDockablePane)

public:
    virtual BOOL Create(LPCTSTR caption, CWnd* parent, const RECT& rect, BOOL hasGripper, UINT id,
                        DWORD style, DWORD tabbedStyle = AFX_CBRS_REGULAR_TABS,
                        DWORD controlBarStyle = AFX_DEFAULT_DOCKING_PANE_STYLE,
                        void* context = nullptr);
    // Accepted; the strip never shows a gripper.
    void EnableGripper(BOOL enable) { m_bGripper = enable; }
    BOOL IsPaneMenuCandidate() const override { return TRUE; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);

    BOOL m_bGripper = FALSE;

    DECLARE_MESSAGE_MAP()
};
