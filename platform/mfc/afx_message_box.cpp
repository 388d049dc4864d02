#include "platform/mfc/afx_message_box.h"

#include "platform/mfc/afx_res.h"
#include "platform/mfc/win_app.h"
#include "platform/win32/window_api.h"

HWND AfxDefaultModalOwner()
{
    const HWND focus = GetFocus();
    if (focus != nullptr)
    {
        return GetAncestorTopLevel(focus);
    }
    CWnd* main = AfxGetMainWnd();
    return main != nullptr && ::IsWindow(main->GetSafeHwnd()) ? main->GetSafeHwnd() : nullptr;
}

int AfxMessageBox(LPCTSTR text, UINT type, UINT)
{
    CWinApp* app = AfxGetApp();
    CString caption;
    if (app != nullptr && app->m_pszAppName != nullptr)
    {
        caption = app->m_pszAppName;
    }
    else
    {
        caption.LoadString(AFX_IDS_APP_TITLE);
    }
    return ::MessageBoxW(AfxDefaultModalOwner(), text != nullptr ? text : L"", caption, type);
}

int AfxMessageBox(UINT promptId, UINT type, UINT)
{
    CString text;
    text.LoadString(promptId);
    return AfxMessageBox(text.GetString(), type, 0);
}
