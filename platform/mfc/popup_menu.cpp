#include "platform/mfc/popup_menu.h"

#include "platform/gdiplus/gdiplus.h"
#include "platform/mfc/bar_theme.h"
#include "platform/win32/backend_seam.h"
#include "platform/win32/dpi_scale.h"
#include "platform/win32/menu.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/palette.h"

#include <algorithm>
#include <cwctype>

IMPLEMENT_DYNAMIC(CMFCPopupMenu, CWnd)

namespace
{

// Lengths at 96 DPI.
constexpr int kItemHeight96 = 24;
constexpr int kSeparatorHeight96 = 9;
constexpr int kCheckColumn96 = 28;
constexpr int kArrowColumn96 = 24;
constexpr int kAcceleratorGap96 = 32;
constexpr int kMinWidth96 = 160;
constexpr int kBorder = 1;

// A popup opened by TrackPopupMenu takes capture only once its modal loop
// runs: the loop cancels any capture it finds when it starts.
constexpr UINT kTakeCapture = WM_USER + 0x1D0;

using brvl::win32::ScaleForWindow;

std::wstring ItemText(HMENU menu, int index)
{
    return brvl::win32::MenuItemText(menu, static_cast<UINT>(index), MF_BYPOSITION);
}

// The label as shown: "&&" is "&", a single "&" marks the mnemonic.
std::wstring ShownLabel(const std::wstring& text)
{
    const std::wstring label = brvl::win32::MenuLabel(text);
    std::wstring shown;
    for (size_t i = 0; i < label.size(); ++i)
    {
        if (label[i] == L'&' && i + 1 < label.size())
        {
            ++i;
        }
        shown += label[i];
    }
    return shown;
}

int TextWidth(HDC dc, const std::wstring& text)
{
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

bool IsSeparator(HMENU menu, int index)
{
    const UINT state = ::GetMenuState(menu, static_cast<UINT>(index), MF_BYPOSITION);
    return state != static_cast<UINT>(-1) && (state & MF_SEPARATOR) != 0;
}

} // namespace

CMFCPopupMenu::CMFCPopupMenu(CMenuTracker& tracker, HMENU menu) : m_tracker(tracker), m_menu(menu)
{
}

void CMFCPopupMenu::Measure(int& width, int& height)
{
    const HDC dc = ::CreateCompatibleDC(nullptr);
    ::SelectObject(dc, brvl::mfc::BarFont(::GetDpiForWindow(nullptr)));
    int labelWidth = 0;
    int acceleratorWidth = 0;
    int top = kBorder;
    m_items.clear();
    const int count = std::max(0, ::GetMenuItemCount(m_menu));
    for (int i = 0; i < count; ++i)
    {
        Item item;
        item.top = top;
        item.height =
            ScaleForWindow(IsSeparator(m_menu, i) ? kSeparatorHeight96 : kItemHeight96, nullptr);
        const std::wstring text = ItemText(m_menu, i);
        labelWidth = std::max(labelWidth, TextWidth(dc, ShownLabel(text)));
        acceleratorWidth =
            std::max(acceleratorWidth, TextWidth(dc, brvl::win32::MenuAcceleratorText(text)));
        top += item.height;
        m_items.push_back(item);
    }
    ::DeleteDC(dc);
    width =
        ScaleForWindow(kCheckColumn96, nullptr) + labelWidth +
        (acceleratorWidth > 0 ? ScaleForWindow(kAcceleratorGap96, nullptr) + acceleratorWidth : 0) +
        ScaleForWindow(kArrowColumn96, nullptr) + 2 * kBorder;
    width = std::max(width, ScaleForWindow(kMinWidth96, nullptr));
    height = top + kBorder;
    m_width = width;
}

BOOL CMFCPopupMenu::OpenAt(HWND owner, POINT screen)
{
    int width = 0;
    int height = 0;
    Measure(width, height);
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    const int x = std::clamp(static_cast<int>(screen.x), 0, std::max(0, screenWidth - width));
    const int y = std::clamp(static_cast<int>(screen.y), 0, std::max(0, screenHeight - height));
    static const LPCTSTR popupClass =
        AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursorW(nullptr, IDC_ARROW));
    return CreateEx(0, popupClass, L"", WS_POPUP | WS_VISIBLE, x, y, width, height, owner, nullptr);
}

void CMFCPopupMenu::Select(int index)
{
    if (index != m_selected)
    {
        m_selected = index;
        Invalidate(FALSE);
    }
}

int CMFCPopupMenu::ItemAt(POINT screen) const
{
    POINT client = screen;
    ScreenToClient(&client);
    if (client.x < 0 || client.x >= m_width)
    {
        return -1;
    }
    for (size_t i = 0; i < m_items.size(); ++i)
    {
        if (client.y >= m_items[i].top && client.y < m_items[i].top + m_items[i].height)
        {
            return IsSeparator(m_menu, static_cast<int>(i)) ? -1 : static_cast<int>(i);
        }
    }
    return -1;
}

CRect CMFCPopupMenu::ItemScreenRect(int index) const
{
    if (index < 0 || index >= ItemCount())
    {
        return CRect();
    }
    const Item& item = m_items[static_cast<size_t>(index)];
    CRect rect(kBorder, item.top, m_width - kBorder, item.top + item.height);
    ClientToScreen(&rect);
    return rect;
}

BOOL CMFCPopupMenu::ContainsScreenPoint(POINT screen) const
{
    CRect window;
    GetWindowRect(&window);
    return window.PtInRect(screen);
}

LRESULT CMFCPopupMenu::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_PAINT:
    {
        CPaintDC dc(this);
        Paint(dc);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    {
        POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(&screen);
        m_tracker.Mouse(msg, screen); // may close this popup: nothing of it is used after
        return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        m_tracker.Key(static_cast<UINT>(wParam));
        return 0;
    case WM_CAPTURECHANGED:
        m_tracker.CaptureLost();
        return 0;
    case WM_DESTROY:
        // Destroyed from outside (its owner went away) before it ever held the
        // capture: the menu is dismissed all the same, or its loop would wait forever.
        m_tracker.CaptureLost();
        return CWnd::WindowProc(msg, wParam, lParam);
    case kTakeCapture:
        SetCapture();
        return 0;
    default:
        return CWnd::WindowProc(msg, wParam, lParam);
    }
}

void CMFCPopupMenu::Paint(CDC& dc)
{
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, brvl::palette::kSeparator);
    CRect inside(client.left + kBorder, client.top + kBorder, client.right - kBorder,
                 client.bottom - kBorder);
    dc.FillSolidRect(&inside, brvl::palette::kPanel);
    dc.SelectObject(static_cast<HGDIOBJ>(brvl::mfc::BarFont(::GetDpiForWindow(m_hWnd))));
    dc.SetBkMode(TRANSPARENT);
    Gdiplus::Graphics graphics(dc.GetSafeHdc());
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);

    const int checkColumn = ScaleForWindow(kCheckColumn96, nullptr);
    const int arrowColumn = ScaleForWindow(kArrowColumn96, nullptr);
    for (int i = 0; i < ItemCount(); ++i)
    {
        const Item& item = m_items[static_cast<size_t>(i)];
        CRect row(inside.left, item.top, inside.right, item.top + item.height);
        const UINT state = ::GetMenuState(m_menu, static_cast<UINT>(i), MF_BYPOSITION);
        if ((state & MF_SEPARATOR) != 0)
        {
            dc.FillSolidRect(row.left + checkColumn, row.top + row.Height() / 2,
                             row.Width() - checkColumn - 6, 1, brvl::palette::kSeparator);
            continue;
        }
        const bool grayed = (state & (MF_GRAYED | MF_DISABLED)) != 0;
        if (i == m_selected)
        {
            dc.FillSolidRect(&row, grayed ? brvl::palette::kHover : brvl::palette::kHighlight);
        }
        const COLORREF textColor = grayed ? brvl::palette::kDimText : brvl::palette::kText;
        dc.SetTextColor(textColor);
        const std::wstring text = ItemText(m_menu, i);
        CRect label(row.left + checkColumn, row.top, row.right - arrowColumn, row.bottom);
        const std::wstring shown = brvl::win32::MenuLabel(text);
        dc.DrawText(shown.c_str(), -1, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        const std::wstring accelerator = brvl::win32::MenuAcceleratorText(text);
        if (!accelerator.empty())
        {
            dc.DrawText(accelerator.c_str(), -1, &label,
                        DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
        const Gdiplus::Pen pen(Gdiplus::ColorFromRef(textColor), 1.6f);
        const float midY = static_cast<float>(row.top + row.Height() / 2);
        if ((state & MF_CHECKED) != 0)
        {
            const float x = static_cast<float>(row.left + checkColumn / 2);
            const float s = static_cast<float>(ScaleForWindow(4, nullptr));
            const Gdiplus::PointF tick[] = {
                {x - s, midY}, {x - s / 3, midY + s * 0.8f}, {x + s, midY - s}};
            graphics.DrawLines(&pen, tick, 3);
        }
        if ((state & MF_POPUP) != 0)
        {
            const float x = static_cast<float>(row.right - arrowColumn / 2);
            const float s = static_cast<float>(ScaleForWindow(3, nullptr));
            const Gdiplus::PointF chevron[] = {
                {x - s / 2, midY - s}, {x + s / 2, midY}, {x - s / 2, midY + s}};
            graphics.DrawLines(&pen, chevron, 3);
        }
    }
}

CMenuTracker::~CMenuTracker()
{
    m_closing = true;
    m_levels.clear();
}

HMENU CMenuTracker::RootMenu() const
{
    return m_levels.empty() ? nullptr : m_levels.front()->Menu();
}

CMFCPopupMenu* CMenuTracker::Innermost() const
{
    return m_levels.empty() ? nullptr : m_levels.back().get();
}

void CMenuTracker::Open(HWND owner, HMENU menu, POINT screen, int index, bool selectFirst,
                        bool captureNow)
{
    // Popups closed earlier are freed first: the one whose handler may be
    // running now is still open and is only closed below.
    m_dead.clear();
    Close();
    m_owner = owner;
    m_host.PopupOpening(menu, index);
    auto popup = std::make_unique<CMFCPopupMenu>(*this, menu);
    if (!popup->OpenAt(owner, screen))
    {
        return;
    }
    m_levels.push_back(std::move(popup));
    if (captureNow)
    {
        m_levels.front()->SetCapture();
    }
    else
    {
        m_levels.front()->PostMessage(kTakeCapture);
    }
    if (selectFirst)
    {
        MoveSelection(*m_levels.front(), 1);
    }
}

void CMenuTracker::Close()
{
    CloseFrom(0);
}

void CMenuTracker::CloseFrom(size_t level)
{
    const bool wasClosing = m_closing;
    m_closing = true;
    while (m_levels.size() > level)
    {
        // The window goes now; the object may be running its own handler, so
        // it is freed later.
        std::unique_ptr<CMFCPopupMenu> popup = std::move(m_levels.back());
        m_levels.pop_back();
        if (popup->GetSafeHwnd() == ::GetCapture())
        {
            ::ReleaseCapture();
        }
        popup->DestroyWindow();
        m_dead.push_back(std::move(popup));
    }
    m_closing = wasClosing;
}

void CMenuTracker::Highlight(CMFCPopupMenu& popup, int index)
{
    popup.Select(index);
    const UINT id = index >= 0 ? ::GetMenuItemID(popup.Menu(), index) : 0;
    m_host.Highlighted(id == static_cast<UINT>(-1) ? 0 : id);
}

void CMenuTracker::MoveSelection(CMFCPopupMenu& popup, int step)
{
    const int count = popup.ItemCount();
    int index = popup.Selected() >= 0 ? popup.Selected() : (step > 0 ? -1 : 0);
    for (int tries = 0; tries < count; ++tries)
    {
        index = (index + step + count) % count;
        if (!IsSeparator(popup.Menu(), index))
        {
            Highlight(popup, index);
            return;
        }
    }
}

void CMenuTracker::OpenSubmenu(size_t level, bool selectFirst)
{
    CloseFrom(level + 1);
    CMFCPopupMenu& parent = *m_levels[level];
    const int index = parent.Selected();
    const HMENU sub = ::GetSubMenu(parent.Menu(), index);
    if (sub == nullptr)
    {
        return;
    }
    const CRect item = parent.ItemScreenRect(index);
    m_host.PopupOpening(sub, index);
    auto popup = std::make_unique<CMFCPopupMenu>(*this, sub);
    if (!popup->OpenAt(m_owner, POINT{item.right - 2, item.top - kBorder}))
    {
        return;
    }
    m_levels.push_back(std::move(popup));
    if (selectFirst)
    {
        MoveSelection(*m_levels.back(), 1);
    }
}

void CMenuTracker::Activate(size_t level, int index, bool selectFirst)
{
    CMFCPopupMenu& popup = *m_levels[level];
    const UINT state = ::GetMenuState(popup.Menu(), static_cast<UINT>(index), MF_BYPOSITION);
    if (state == static_cast<UINT>(-1) || (state & MF_SEPARATOR) != 0 ||
        (state & (MF_GRAYED | MF_DISABLED)) != 0)
    {
        return;
    }
    Highlight(popup, index);
    if ((state & MF_POPUP) != 0)
    {
        if (m_levels.size() == level + 1)
        {
            OpenSubmenu(level, selectFirst);
        }
        return;
    }
    const UINT id = ::GetMenuItemID(popup.Menu(), index);
    Close();
    m_host.CommandChosen(id);
}

void CMenuTracker::Key(UINT vk)
{
    if (m_levels.empty())
    {
        return;
    }
    const size_t level = m_levels.size() - 1;
    CMFCPopupMenu& popup = *m_levels.back();
    const int selected = popup.Selected();
    switch (vk)
    {
    case VK_DOWN:
        MoveSelection(popup, 1);
        return;
    case VK_UP:
        MoveSelection(popup, -1);
        return;
    case VK_RIGHT:
        if (selected >= 0 && ::GetSubMenu(popup.Menu(), selected) != nullptr)
        {
            Activate(level, selected, true);
        }
        else
        {
            m_host.MoveToNeighbour(1);
        }
        return;
    case VK_LEFT:
        if (level > 0)
        {
            CloseFrom(level);
        }
        else
        {
            m_host.MoveToNeighbour(-1);
        }
        return;
    case VK_RETURN:
    case VK_SPACE:
        if (selected >= 0)
        {
            Activate(level, selected, true);
        }
        return;
    case VK_ESCAPE:
        if (level > 0)
        {
            CloseFrom(level);
        }
        else
        {
            Close();
            m_host.MenuDismissed(CMenuTrackerHost::Dismissal::Escape);
        }
        return;
    default:
        break;
    }
    // A letter or digit: the item whose mnemonic it is. Several items with the
    // same mnemonic are stepped through; a single one is chosen.
    if (!((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')))
    {
        return;
    }
    const auto letter = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(vk)));
    std::vector<int> matches;
    for (int i = 0; i < popup.ItemCount(); ++i)
    {
        if (brvl::win32::MenuMnemonic(ItemText(popup.Menu(), i)) == letter)
        {
            matches.push_back(i);
        }
    }
    if (matches.size() == 1)
    {
        Activate(level, matches.front(), true);
    }
    else if (!matches.empty())
    {
        const auto next = std::upper_bound(matches.begin(), matches.end(), selected);
        Highlight(popup, next != matches.end() ? *next : matches.front());
    }
}

void CMenuTracker::Mouse(UINT msg, POINT screen)
{
    size_t level = m_levels.size();
    while (level > 0 && !m_levels[level - 1]->ContainsScreenPoint(screen))
    {
        --level;
    }
    if (level == 0)
    {
        if (m_host.MouseOutside(msg, screen))
        {
            return; // the host acted (and may have closed or reopened the menu)
        }
        if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN)
        {
            Close();
            m_host.MenuDismissed(CMenuTrackerHost::Dismissal::ClickOutside);
        }
        return;
    }
    const size_t at = level - 1;
    CMFCPopupMenu& popup = *m_levels[at];
    const int index = popup.ItemAt(screen);
    if (msg == WM_MOUSEMOVE)
    {
        if (index < 0)
        {
            return; // a separator or the border keeps what is highlighted
        }
        const bool sameItem = index == popup.Selected();
        if (!sameItem)
        {
            CloseFrom(at + 1);
            Highlight(popup, index);
        }
        const UINT state = ::GetMenuState(popup.Menu(), static_cast<UINT>(index), MF_BYPOSITION);
        if ((state & MF_POPUP) != 0 && (state & (MF_GRAYED | MF_DISABLED)) == 0 &&
            m_levels.size() == at + 1)
        {
            OpenSubmenu(at, false);
        }
        return;
    }
    if ((msg == WM_LBUTTONUP || msg == WM_RBUTTONUP) && index >= 0)
    {
        Activate(at, index, false);
    }
}

void CMenuTracker::CaptureLost()
{
    if (m_closing || m_levels.empty())
    {
        return;
    }
    Close();
    m_host.MenuDismissed(CMenuTrackerHost::Dismissal::Lost);
}

namespace
{

// TrackPopupMenu's side of a tracker: the popup's choice ends the modal loop.
class ModalPopupHost : public CMenuTrackerHost
{
public:
    explicit ModalPopupHost(HWND owner) : m_owner(owner) {}

    void SetRoot(HWND root) { m_root = root; }

    void PopupOpening(HMENU menu, int index) override
    {
        if (::IsWindow(m_owner))
        {
            ::SendMessageW(m_owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
                           MAKELPARAM(static_cast<WORD>(index), FALSE));
        }
    }
    void CommandChosen(UINT id) override
    {
        brvl::win32::EndModalLoop(m_root, static_cast<INT_PTR>(id));
    }
    void MenuDismissed(Dismissal) override { brvl::win32::EndModalLoop(m_root, 0); }

private:
    HWND m_owner;
    HWND m_root = nullptr;
};

} // namespace

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*)
{
    if (!::IsMenu(menu))
    {
        return FALSE;
    }
    ModalPopupHost host(owner);
    CMenuTracker tracker(host);
    tracker.Open(owner != nullptr ? ::GetAncestorTopLevel(owner) : nullptr, menu, POINT{x, y}, 0,
                 false, false);
    CMFCPopupMenu* root = tracker.Innermost();
    if (root == nullptr)
    {
        return FALSE;
    }
    host.SetRoot(root->GetSafeHwnd());

    brvl::backend::ModalRequest request;
    request.kind = brvl::backend::ModalKind::PopupMenu;
    request.owner = owner;
    request.window = root->GetSafeHwnd();
    request.flags = flags;
    const int count = std::max(0, ::GetMenuItemCount(menu));
    for (int i = 0; i < count; ++i)
    {
        request.text += (i > 0 ? L"\n" : L"") + ItemText(menu, i);
    }
    // Keys go to the popup while it is open; the focus comes back afterwards.
    const HWND previousFocus = ::GetFocus();
    ::SetFocus(root->GetSafeHwnd());
    const INT_PTR chosen = brvl::win32::RunModalLoop(request);
    tracker.Close();
    if (previousFocus != nullptr && ::IsWindow(previousFocus))
    {
        ::SetFocus(previousFocus);
    }
    if ((flags & TPM_RETURNCMD) != 0)
    {
        return static_cast<BOOL>(chosen);
    }
    if (chosen != 0 && ::IsWindow(owner))
    {
        ::PostMessageW(owner, WM_COMMAND, MAKEWPARAM(static_cast<UINT>(chosen), 0), 0);
    }
    return chosen != 0 ? TRUE : FALSE;
}
