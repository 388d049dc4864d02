#include "platform/mfc/menu_bar.h"

#include "platform/mfc/bar_theme.h"
#include "platform/mfc/cmd_ui.h"
#include "platform/mfc/frame_wnd.h"
#include "platform/mfc/menu.h"
#include "platform/win32/accelerators.h"
#include "platform/win32/backend_bridge.h"
#include "platform/win32/dpi_scale.h"
#include "platform/win32/palette.h"

#include <cwctype>

IMPLEMENT_DYNAMIC(CMFCMenuBar, CBasePane)

BEGIN_MESSAGE_MAP(CMFCMenuBar, CBasePane)
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_SIZE()
ON_WM_MOUSELEAVE()
ON_MESSAGE(WM_DPICHANGED, &CMFCMenuBar::OnDpiChanged)
END_MESSAGE_MAP()

namespace
{

constexpr int kBarHeight96 = 26;
constexpr int kItemPadding96 = 10;
constexpr int kBarInset96 = 4;

using brvl::win32::ScaleForWindow;

std::wstring TopItemText(HMENU menu, int index)
{
    return brvl::win32::MenuItemText(menu, static_cast<UINT>(index), MF_BYPOSITION);
}

} // namespace

CMFCMenuBar::CMFCMenuBar() : m_tracker(*this)
{
}

CMFCMenuBar::~CMFCMenuBar() = default;

BOOL CMFCMenuBar::Create(CWnd* parent, DWORD style, UINT id)
{
    if (!CreatePane(nullptr, style, CRect(0, 0, 0, 0), parent, id))
    {
        return FALSE;
    }
    Layout();
    return TRUE;
}

HMENU CMFCMenuBar::Menu() const
{
    CFrameWnd* frame = GetParentFrame();
    return frame != nullptr ? frame->m_hMenuDefault : nullptr;
}

CSize CMFCMenuBar::CalcFixedLayout(BOOL, BOOL horz)
{
    if (!IsVisible())
    {
        return CSize(0, 0);
    }
    const int thickness = ScaleForWindow(kBarHeight96, m_hWnd);
    return horz ? CSize(32767, thickness) : CSize(thickness, 32767);
}

void CMFCMenuBar::Layout()
{
    m_itemRects.clear();
    const HMENU menu = Menu();
    const int count = std::max(0, ::GetMenuItemCount(menu));
    CRect client;
    GetClientRect(&client);
    const HDC dc = ::CreateCompatibleDC(nullptr);
    ::SelectObject(dc, brvl::mfc::BarFont(::GetDpiForWindow(m_hWnd)));
    int x = ScaleForWindow(kBarInset96, m_hWnd);
    for (int i = 0; i < count; ++i)
    {
        RECT measured{0, 0, 0, 0};
        const std::wstring text = TopItemText(menu, i);
        ::DrawTextW(dc, text.c_str(), -1, &measured, DT_CALCRECT | DT_SINGLELINE);
        const int width =
            (measured.right - measured.left) + 2 * ScaleForWindow(kItemPadding96, m_hWnd);
        m_itemRects.emplace_back(x, client.top + 2, x + width, client.bottom - 2);
        x += width;
    }
    ::DeleteDC(dc);
}

CRect CMFCMenuBar::ItemRect(int index) const
{
    return index >= 0 && index < ItemCount() ? m_itemRects[static_cast<size_t>(index)] : CRect();
}

int CMFCMenuBar::ItemAtClient(CPoint point) const
{
    for (int i = 0; i < ItemCount(); ++i)
    {
        if (m_itemRects[static_cast<size_t>(i)].PtInRect(point))
        {
            return i;
        }
    }
    return -1;
}

int CMFCMenuBar::OpenPopupSelection() const
{
    const CMFCPopupMenu* popup = m_tracker.Innermost();
    return popup != nullptr ? popup->Selected() : -1;
}

void CMFCMenuBar::SetHighlighted(int index)
{
    if (index != m_highlighted)
    {
        m_highlighted = index;
        Invalidate(FALSE);
    }
}

void CMFCMenuBar::OpenItem(int index, bool selectFirst)
{
    const HMENU sub = ::GetSubMenu(Menu(), index);
    if (sub == nullptr)
    {
        return;
    }
    m_keyboardMode = false;
    SetHighlighted(index);
    CRect item = ItemRect(index);
    ClientToScreen(&item);
    m_tracker.Open(::GetAncestorTopLevel(m_hWnd), sub, POINT{item.left, item.bottom}, index,
                   selectFirst);
}

void CMFCMenuBar::EndMenuMode()
{
    m_keyboardMode = false;
    m_altArmed = false;
    m_tracker.Close();
    SetHighlighted(-1);
    if (CFrameWnd* frame = GetParentFrame())
    {
        frame->SetMessageText(AFX_IDS_IDLEMESSAGE);
    }
}

BOOL CMFCMenuBar::PreTranslateFrameMessage(const MSG& msg)
{
    const bool keyDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    const bool keyUp = msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP;
    const auto vk = static_cast<UINT>(msg.wParam);
    if ((msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN) && m_keyboardMode &&
        msg.hwnd != m_hWnd)
    {
        EndMenuMode();
        return FALSE; // the press still goes where it was aimed
    }
    if (ItemCount() == 0 || !IsWindowVisible() || (!keyDown && !keyUp && msg.message != WM_CHAR))
    {
        return FALSE;
    }

    if (m_tracker.IsOpen())
    {
        if (keyDown && (vk == VK_MENU || vk == VK_F10))
        {
            EndMenuMode(); // Alt or F10 again leaves the menu altogether
        }
        else if (keyDown)
        {
            m_tracker.Key(vk);
        }
        return TRUE; // while a menu is open every key is the menu's
    }

    if (m_keyboardMode)
    {
        if (!keyDown)
        {
            return TRUE;
        }
        const int count = ItemCount();
        switch (vk)
        {
        case VK_LEFT:
            SetHighlighted((m_highlighted + count - 1) % count);
            break;
        case VK_RIGHT:
            SetHighlighted((m_highlighted + 1) % count);
            break;
        case VK_DOWN:
        case VK_RETURN:
        case VK_SPACE:
            OpenItem(m_highlighted, true);
            break;
        case VK_ESCAPE:
        case VK_MENU:
        case VK_F10:
            EndMenuMode();
            break;
        default:
            for (int i = 0; i < count; ++i)
            {
                if (brvl::win32::MenuMnemonic(TopItemText(Menu(), i)) ==
                    static_cast<wchar_t>(std::towlower(static_cast<wint_t>(vk))))
                {
                    OpenItem(i, true);
                    break;
                }
            }
            break;
        }
        return TRUE;
    }

    // Not in menu mode: Alt alone (down and up), F10, or Alt + a mnemonic.
    if (msg.message == WM_SYSKEYDOWN && vk == VK_MENU)
    {
        m_altArmed = true;
        return TRUE;
    }
    if (msg.message == WM_SYSKEYUP && vk == VK_MENU)
    {
        const bool enter = m_altArmed;
        m_altArmed = false;
        if (enter)
        {
            m_keyboardMode = true;
            SetHighlighted(0);
        }
        return enter ? TRUE : FALSE;
    }
    if (keyDown)
    {
        m_altArmed = false;
    }
    if (keyDown && vk == VK_F10 && (::GetKeyState(VK_SHIFT) & 0x8000) == 0 &&
        (::GetKeyState(VK_CONTROL) & 0x8000) == 0)
    {
        m_keyboardMode = true;
        SetHighlighted(0);
        return TRUE;
    }
    if (msg.message == WM_SYSKEYDOWN && (::GetKeyState(VK_CONTROL) & 0x8000) == 0)
    {
        const auto letter = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(vk)));
        for (int i = 0; i < ItemCount(); ++i)
        {
            if (letter != 0 && brvl::win32::MenuMnemonic(TopItemText(Menu(), i)) == letter)
            {
                OpenItem(i, true);
                return TRUE;
            }
        }
    }
    return FALSE;
}

void CMFCMenuBar::OnLButtonDown(UINT, CPoint point)
{
    const int index = ItemAtClient(point);
    if (index < 0)
    {
        EndMenuMode();
        return;
    }
    OpenItem(index, false);
}

void CMFCMenuBar::OnMouseMove(UINT, CPoint point)
{
    const int index = ItemAtClient(point);
    if (index != m_hot)
    {
        m_hot = index;
        Invalidate(FALSE);
        TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&track);
    }
}

LRESULT CMFCMenuBar::OnDpiChanged(WPARAM, LPARAM)
{
    Layout(); // the items' widths follow the font
    Invalidate();
    return 0;
}

void CMFCMenuBar::OnMouseLeave()
{
    m_hot = -1;
    Invalidate(FALSE);
}

void CMFCMenuBar::OnSize(UINT type, int cx, int cy)
{
    CBasePane::OnSize(type, cx, cy);
    Layout();
}

void CMFCMenuBar::PopupOpening(HMENU menu, int index)
{
    CFrameWnd* frame = GetParentFrame();
    if (frame == nullptr)
    {
        return;
    }
    frame->FillPaneMenu(menu);
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
                       MAKELPARAM(static_cast<WORD>(index), FALSE));
}

void CMFCMenuBar::CommandChosen(UINT id)
{
    EndMenuMode();
    // Posted, so the command runs once the menu is gone, as on Windows.
    if (CFrameWnd* frame = GetParentFrame())
    {
        frame->PostMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }
}

void CMFCMenuBar::MenuDismissed(Dismissal why)
{
    if (why == Dismissal::Escape)
    {
        // Escape in the first popup goes back to the highlighted bar.
        m_keyboardMode = true;
        Invalidate(FALSE);
        return;
    }
    EndMenuMode();
}

bool CMFCMenuBar::MoveToNeighbour(int direction)
{
    const int count = ItemCount();
    if (count == 0)
    {
        return false;
    }
    const int next = ((m_highlighted < 0 ? 0 : m_highlighted) + direction + count) % count;
    OpenItem(next, true);
    return true;
}

bool CMFCMenuBar::MouseOutside(UINT msg, POINT screen)
{
    POINT client = screen;
    ScreenToClient(&client);
    CRect bar;
    GetClientRect(&bar);
    if (!bar.PtInRect(client))
    {
        return false;
    }
    const int index = ItemAtClient(CPoint(client));
    if (msg == WM_MOUSEMOVE)
    {
        // Moving along the bar while a menu is open opens the menu under the pointer.
        if (index >= 0 && index != m_highlighted)
        {
            OpenItem(index, false);
        }
        return true;
    }
    if (msg == WM_LBUTTONDOWN)
    {
        if (index == m_highlighted || index < 0)
        {
            EndMenuMode(); // a second click on the open item closes it
        }
        else
        {
            OpenItem(index, false);
        }
    }
    return true;
}

void CMFCMenuBar::Highlighted(UINT id)
{
    if (CFrameWnd* frame = GetParentFrame())
    {
        frame->SetMessageText(id);
    }
}

void CMFCMenuBar::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, brvl::palette::kBackground);
    dc.FillSolidRect(client.left, client.bottom - 1, client.Width(), 1, brvl::palette::kSeparator);
    dc.SelectObject(static_cast<HGDIOBJ>(brvl::mfc::BarFont(::GetDpiForWindow(m_hWnd))));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(brvl::palette::kText);
    const HMENU menu = Menu();
    for (int i = 0; i < ItemCount(); ++i)
    {
        CRect item = m_itemRects[static_cast<size_t>(i)];
        if (i == m_highlighted)
        {
            dc.FillSolidRect(&item, m_tracker.IsOpen() ? brvl::palette::kHighlight
                                                       : brvl::palette::kHover);
        }
        else if (i == m_hot)
        {
            dc.FillSolidRect(&item, brvl::palette::kHover);
        }
        const std::wstring text = TopItemText(menu, i);
        dc.DrawText(text.c_str(), -1, &item, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

namespace brvl::mfc
{

namespace
{

// -1: not in this menu; 0: found but disabled; 1: found and sent.
int ChooseIn(CFrameWnd* frame, HMENU menu, int index, UINT id)
{
    frame->FillPaneMenu(menu);
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
                       MAKELPARAM(static_cast<WORD>(index), FALSE));
    const int count = std::max(0, ::GetMenuItemCount(menu));
    for (int i = 0; i < count; ++i)
    {
        if (const HMENU sub = ::GetSubMenu(menu, i))
        {
            const int found = ChooseIn(frame, sub, i, id);
            if (found >= 0)
            {
                return found;
            }
            continue;
        }
        if (::GetMenuItemID(menu, i) != id || id == 0)
        {
            continue;
        }
        const UINT state = ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        if ((state & (MF_GRAYED | MF_DISABLED)) != 0)
        {
            return 0;
        }
        frame->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
        return 1;
    }
    return -1;
}

} // namespace

BOOL ChooseMenuCommand(CFrameWnd* frame, UINT id)
{
    if (frame == nullptr || frame->m_hMenuDefault == nullptr)
    {
        return FALSE;
    }
    const HMENU menu = frame->m_hMenuDefault;
    const int count = std::max(0, ::GetMenuItemCount(menu));
    for (int i = 0; i < count; ++i)
    {
        if (const HMENU sub = ::GetSubMenu(menu, i))
        {
            const int found = ChooseIn(frame, sub, i, id);
            if (found >= 0)
            {
                return found == 1 ? TRUE : FALSE;
            }
        }
    }
    return FALSE;
}

} // namespace brvl::mfc
