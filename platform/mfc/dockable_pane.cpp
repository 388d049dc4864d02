#include "platform/mfc/dockable_pane.h"

IMPLEMENT_DYNAMIC(CDockablePane, CBasePane)

BEGIN_MESSAGE_MAP(CDockablePane, CBasePane)
ON_WM_CREATE()
END_MESSAGE_MAP()

BOOL CDockablePane::Create(LPCTSTR caption, CWnd* parent, const RECT& rect, BOOL hasGripper,
                           UINT id, DWORD style, DWORD, DWORD controlBarStyle, void*)
{
    m_bGripper = hasGripper;
    m_dwControlBarStyle = controlBarStyle;
    // Its height until the owner says otherwise: the rectangle it was given.
    m_sizeMin = CSize(0, rect.bottom - rect.top);
    return CreatePane(caption, style | CBRS_ALIGN_TOP, rect, parent, id);
}

int CDockablePane::OnCreate(LPCREATESTRUCT cs)
{
    return CBasePane::OnCreate(cs);
}
