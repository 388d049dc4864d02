#pragma once

#include "platform/mfc/cstring.h"
#include "platform/mfc/runtime_class.h"
#include "platform/win32/menu.h"

#include <map>
#include <memory>

class CWnd;

// A menu handle with the framework's calls. The object destroys a menu it
// loaded or created when it goes away, unless the menu was detached.
class CMenu : public CObject
{
public:
    CMenu() = default;
    ~CMenu() override;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;

    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }
    BOOL Attach(HMENU menu);
    HMENU Detach();
    // A wrapper of a handle owned elsewhere, valid while the handle lives.
    static CMenu* FromHandle(HMENU menu);

    BOOL LoadMenu(UINT id);
    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    BOOL DestroyMenu();

    // The submenu at a position as a wrapper owned by this object; NULL for none.
    CMenu* GetSubMenu(int pos) const;
    UINT GetMenuItemCount() const;
    UINT GetMenuItemID(int pos) const;
    UINT GetMenuState(UINT item, UINT flags) const;
    int GetMenuString(UINT item, CString& text, UINT flags) const;
    BOOL AppendMenu(UINT flags, UINT_PTR idOrPopup = 0, LPCTSTR text = nullptr);
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR idOrPopup = 0, LPCTSTR text = nullptr);
    BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR idOrPopup = 0, LPCTSTR text = nullptr);
    BOOL DeleteMenu(UINT position, UINT flags);
    BOOL RemoveMenu(UINT position, UINT flags);
    UINT EnableMenuItem(UINT item, UINT enable);
    UINT CheckMenuItem(UINT item, UINT check);
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect = nullptr);

private:
    mutable std::map<HMENU, std::unique_ptr<CMenu>> m_subMenus;
    bool m_temporary = false;
};
