#include "platform/mfc/menu.h"

#include "platform/mfc/wnd.h"

CMenu::~CMenu()
{
    for (auto& [handle, wrapper] : m_subMenus)
    {
        wrapper->m_hMenu = nullptr; // owned by this menu's handle
    }
    if (!m_temporary)
    {
        DestroyMenu();
    }
}

BOOL CMenu::Attach(HMENU menu)
{
    if (m_hMenu != nullptr || !::IsMenu(menu))
    {
        return FALSE;
    }
    m_hMenu = menu;
    return TRUE;
}

HMENU CMenu::Detach()
{
    const HMENU menu = m_hMenu;
    m_hMenu = nullptr;
    m_subMenus.clear();
    return menu;
}

CMenu* CMenu::FromHandle(HMENU menu)
{
    static std::map<HMENU, std::unique_ptr<CMenu>> temporaries;
    for (auto it = temporaries.begin(); it != temporaries.end();)
    {
        it = ::IsMenu(it->first) ? std::next(it) : temporaries.erase(it);
    }
    if (!::IsMenu(menu))
    {
        return nullptr;
    }
    auto& wrapper = temporaries[menu];
    if (!wrapper)
    {
        wrapper = std::make_unique<CMenu>();
        wrapper->m_hMenu = menu;
        wrapper->m_temporary = true;
    }
    return wrapper.get();
}

BOOL CMenu::LoadMenu(UINT id)
{
    if (m_hMenu != nullptr)
    {
        return FALSE;
    }
    m_hMenu = ::LoadMenuW(nullptr, MAKEINTRESOURCEW(id));
    return m_hMenu != nullptr ? TRUE : FALSE;
}

BOOL CMenu::CreateMenu()
{
    return m_hMenu == nullptr ? Attach(::CreateMenu()) : FALSE;
}

BOOL CMenu::CreatePopupMenu()
{
    return m_hMenu == nullptr ? Attach(::CreatePopupMenu()) : FALSE;
}

BOOL CMenu::DestroyMenu()
{
    m_subMenus.clear();
    const HMENU menu = m_hMenu;
    m_hMenu = nullptr;
    return menu != nullptr ? ::DestroyMenu(menu) : FALSE;
}

CMenu* CMenu::GetSubMenu(int pos) const
{
    const HMENU sub = ::GetSubMenu(m_hMenu, pos);
    if (sub == nullptr)
    {
        return nullptr;
    }
    auto& wrapper = m_subMenus[sub];
    if (!wrapper)
    {
        wrapper = std::make_unique<CMenu>();
        wrapper->m_hMenu = sub;
        wrapper->m_temporary = true;
    }
    return wrapper.get();
}

UINT CMenu::GetMenuItemCount() const
{
    return static_cast<UINT>(::GetMenuItemCount(m_hMenu));
}

UINT CMenu::GetMenuItemID(int pos) const
{
    return ::GetMenuItemID(m_hMenu, pos);
}

UINT CMenu::GetMenuState(UINT item, UINT flags) const
{
    return ::GetMenuState(m_hMenu, item, flags);
}

int CMenu::GetMenuString(UINT item, CString& text, UINT flags) const
{
    text = CString(brvl::win32::MenuItemText(m_hMenu, item, flags));
    return text.GetLength();
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR idOrPopup, LPCTSTR text)
{
    return ::AppendMenuW(m_hMenu, flags, idOrPopup, text);
}

BOOL CMenu::InsertMenu(UINT position, UINT flags, UINT_PTR idOrPopup, LPCTSTR text)
{
    return ::InsertMenuW(m_hMenu, position, flags, idOrPopup, text);
}

BOOL CMenu::ModifyMenu(UINT position, UINT flags, UINT_PTR idOrPopup, LPCTSTR text)
{
    return ::ModifyMenuW(m_hMenu, position, flags, idOrPopup, text);
}

BOOL CMenu::DeleteMenu(UINT position, UINT flags)
{
    return ::DeleteMenu(m_hMenu, position, flags);
}

BOOL CMenu::RemoveMenu(UINT position, UINT flags)
{
    return ::RemoveMenu(m_hMenu, position, flags);
}

UINT CMenu::EnableMenuItem(UINT item, UINT enable)
{
    return ::EnableMenuItem(m_hMenu, item, enable);
}

UINT CMenu::CheckMenuItem(UINT item, UINT check)
{
    return ::CheckMenuItem(m_hMenu, item, check);
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect)
{
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0,
                            owner != nullptr ? owner->GetSafeHwnd() : nullptr, rect);
}
