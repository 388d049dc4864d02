#include "platform/mfc/cmd_ui.h"

#include "platform/mfc/menu.h"
#include "platform/mfc/wnd.h"

void CCmdUI::Enable(BOOL on)
{
    if (m_pMenu != nullptr && m_pSubMenu == nullptr)
    {
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
    }
    else if (m_pOther != nullptr)
    {
        m_pOther->EnableWindow(on);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int check)
{
    if (m_pMenu != nullptr && m_pSubMenu == nullptr)
    {
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (check != 0 ? MF_CHECKED : MF_UNCHECKED));
    }
}

void CCmdUI::SetRadio(BOOL on)
{
    SetCheck(on ? 1 : 0);
}

void CCmdUI::SetText(LPCTSTR text)
{
    if (m_pMenu != nullptr && m_pSubMenu == nullptr && text != nullptr)
    {
        const UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION);
        m_pMenu->ModifyMenu(
            m_nIndex, MF_BYPOSITION | MF_STRING | (state & (MF_GRAYED | MF_CHECKED)), m_nID, text);
    }
    else if (m_pOther != nullptr && text != nullptr)
    {
        m_pOther->SetWindowText(text);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler)
{
    if (target == nullptr || m_nID == 0)
    {
        return TRUE; // separators and elements without a command are left alone
    }
    m_bEnableChanged = FALSE;
    const BOOL handled =
        target->OnCmdMsg(m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), this, nullptr);
    if (!handled && disableIfNoHandler && !m_bEnableChanged)
    {
        // Asks whether any target would take the command, without running it.
        AFX_CMDHANDLERINFO info{};
        if (!target->OnCmdMsg(m_nID, static_cast<int>(CN_COMMAND), this, &info))
        {
            Enable(FALSE);
        }
    }
    return handled;
}

void CCmdUIState::Enable(BOOL on)
{
    m_bEnabled = on;
    m_bEnableChanged = TRUE;
}

void CCmdUIState::SetCheck(int check)
{
    m_nCheck = check;
}

void CCmdUIState::SetRadio(BOOL on)
{
    m_nCheck = on ? 1 : 0;
}

void CCmdUIState::SetText(LPCTSTR text)
{
    m_bTextSet = TRUE;
    m_strText = text != nullptr ? text : L"";
}
