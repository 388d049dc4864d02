#pragma once

#include "platform/mfc/cmd_target.h"
#include "platform/win32/win_types.h"

#include <string>

class CMenu;
class CWnd;

// Asks command targets for the state of one command (a menu item, a bar pane,
// a toolbar button): update handlers call Enable, SetCheck, SetRadio and
// SetText; the kind of user-interface element behind it decides what they do.
class CCmdUI
{
public:
    virtual ~CCmdUI() = default;

    virtual void Enable(BOOL on = TRUE);
    virtual void SetCheck(int check = 1); // 0 off, 1 on, 2 indeterminate
    virtual void SetRadio(BOOL on = TRUE);
    virtual void SetText(LPCTSTR text);
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Offers the update to `target` (and its routing chain); with no update
    // handler and `disableIfNoHandler`, an element whose command nobody handles
    // is disabled. TRUE when an update handler ran.
    BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    UINT m_nIndexMax = 0;
    CMenu* m_pMenu = nullptr;
    CMenu* m_pSubMenu = nullptr;
    CWnd* m_pOther = nullptr;
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;
};

// A CCmdUI that only records what the handlers decided (for elements the
// framework draws itself and for accelerators).
class CCmdUIState : public CCmdUI
{
public:
    void Enable(BOOL on = TRUE) override;
    void SetCheck(int check = 1) override;
    void SetRadio(BOOL on = TRUE) override;
    void SetText(LPCTSTR text) override;

    BOOL m_bEnabled = TRUE;
    int m_nCheck = 0;
    BOOL m_bTextSet = FALSE;
    std::wstring m_strText;
};
