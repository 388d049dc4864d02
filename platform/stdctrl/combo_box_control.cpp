// COMBOBOX (drop-down list): a closed field showing the selection and a popup
// list window below it. Only the user's choices report CBN_SELCHANGE.

#include "platform/gdiplus/gdiplus.h"
#include "platform/win32/backend_bridge.h"
#include "platform/win32/control_messages.h"
#include "platform/win32/control_styles.h"
#include "platform/stdctrl/control_theme.h"
#include "platform/win32/palette.h"
#include "platform/win32/gdi.h"
#include "platform/stdctrl/standard_controls.h"
#include "platform/win32/window_system.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

namespace brvl::win32
{

namespace
{

constexpr int kArrowWidth = 16;
constexpr int kItemPadding = 4; // added to the line height of each list row

struct ComboItem
{
    std::wstring text;
    DWORD_PTR data = 0;
};

struct ComboState
{
    std::vector<ComboItem> items;
    int selection = -1;
    HFONT font = nullptr;
    int droppedHeight = 0; // the template's height: closed field plus list
    HWND list = nullptr;   // the open popup list
    int hot = -1;          // the row under the mouse or keys in the open list
    int top = 0;           // first row shown in the list
};

struct ListState
{
    HWND combo = nullptr;
};

ControlStateTable<ComboState>& Combos()
{
    static ControlStateTable<ComboState> table;
    return table;
}

ControlStateTable<ListState>& Lists()
{
    static ControlStateTable<ListState> table;
    return table;
}

int ItemHeight(const ComboState& s)
{
    return theme::MeasureText(s.font, L"Ag").cy + kItemPadding;
}

int ClosedHeight(const ComboState& s)
{
    return theme::MeasureText(s.font, L"Ag").cy + 8;
}

void FitClosedHeight(HWND hwnd, const ComboState& s)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left, ClosedHeight(s),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int VisibleRows(HWND list, const ComboState& s)
{
    RECT client{};
    GetClientRect(list, &client);
    return std::max(1, static_cast<int>((client.bottom - client.top - 2) / ItemHeight(s)));
}

void KeepHotVisible(ComboState& s)
{
    if (s.list == nullptr || s.hot < 0)
    {
        return;
    }
    const int rows = VisibleRows(s.list, s);
    if (s.hot < s.top)
    {
        s.top = s.hot;
    }
    else if (s.hot >= s.top + rows)
    {
        s.top = s.hot - rows + 1;
    }
    s.top = std::clamp(s.top, 0, std::max(0, static_cast<int>(s.items.size()) - rows));
}

void CloseList(HWND combo)
{
    ComboState* s = Combos().Find(combo);
    if (s == nullptr || s->list == nullptr)
    {
        return;
    }
    const HWND list = s->list;
    s->list = nullptr;
    DestroyWindow(list);
    InvalidateRect(combo, nullptr, FALSE);
}

// A choice made by the user: the list closes, then a changed selection is reported.
void Choose(HWND combo, int index)
{
    CloseList(combo);
    ComboState* s = Combos().Find(combo);
    if (s == nullptr || index < 0 || index >= static_cast<int>(s->items.size()) ||
        index == s->selection)
    {
        return;
    }
    s->selection = index;
    InvalidateRect(combo, nullptr, FALSE);
    NotifyParent(combo, CBN_SELCHANGE);
}

void OpenList(HWND combo)
{
    ComboState& s = Combos().Of(combo);
    if (s.list != nullptr || s.items.empty())
    {
        return;
    }
    RECT r{};
    GetWindowRect(combo, &r);
    const int rows = static_cast<int>(s.items.size());
    const int room = std::max(ItemHeight(s), s.droppedHeight - ClosedHeight(s));
    const int height = std::min(rows * ItemHeight(s), room) + 2;
    s.hot = s.selection;
    s.top = 0;
    const HWND list =
        CreateWindowExW(0, kComboListClass, L"", WS_POPUP, r.left, r.bottom, r.right - r.left,
                        height, GetAncestorTopLevel(combo), nullptr, nullptr, combo);
    if (list == nullptr)
    {
        return;
    }
    s.list = list;
    KeepHotVisible(s);
    ShowWindow(list, SW_SHOWNA);
    SetCapture(list);
    InvalidateRect(combo, nullptr, FALSE);
}

void MoveSelection(HWND combo, ComboState& s, int target)
{
    if (s.items.empty())
    {
        return;
    }
    target = std::clamp(target, 0, static_cast<int>(s.items.size()) - 1);
    if (s.list != nullptr)
    {
        s.hot = target;
        KeepHotVisible(s);
        InvalidateRect(s.list, nullptr, FALSE);
        return;
    }
    Choose(combo, target);
}

void ComboKey(HWND combo, UINT key)
{
    ComboState& s = Combos().Of(combo);
    const int current = s.list != nullptr ? s.hot : s.selection;
    const int page = s.list != nullptr ? VisibleRows(s.list, s) : 8;
    switch (key)
    {
    case VK_UP:
    case VK_LEFT:
        MoveSelection(combo, s, current < 0 ? 0 : current - 1);
        break;
    case VK_DOWN:
    case VK_RIGHT:
        MoveSelection(combo, s, current + 1);
        break;
    case VK_PRIOR:
        MoveSelection(combo, s, current - page);
        break;
    case VK_NEXT:
        MoveSelection(combo, s, current + page);
        break;
    case VK_HOME:
        MoveSelection(combo, s, 0);
        break;
    case VK_END:
        MoveSelection(combo, s, static_cast<int>(s.items.size()) - 1);
        break;
    case VK_F4:
        if (s.list != nullptr)
        {
            Choose(combo, s.hot);
        }
        else
        {
            OpenList(combo);
        }
        break;
    case VK_RETURN:
        if (s.list != nullptr)
        {
            Choose(combo, s.hot);
        }
        break;
    case VK_ESCAPE:
        CloseList(combo);
        break;
    default:
        break;
    }
}

// Typing a letter picks the next item that starts with it.
void ComboChar(HWND combo, wchar_t ch)
{
    ComboState& s = Combos().Of(combo);
    const int count = static_cast<int>(s.items.size());
    const int from = s.list != nullptr ? s.hot : s.selection;
    for (int step = 1; step <= count; ++step)
    {
        const int i = ((from < 0 ? -1 : from) + step + count) % count;
        const std::wstring& text = s.items[static_cast<size_t>(i)].text;
        if (!text.empty() &&
            std::towlower(static_cast<wint_t>(text[0])) == std::towlower(static_cast<wint_t>(ch)))
        {
            MoveSelection(combo, s, i);
            return;
        }
    }
}

void PaintCombo(HWND hwnd)
{
    PAINTSTRUCT ps{};
    const HDC dc = BeginPaint(hwnd, &ps);
    if (dc != nullptr)
    {
        ComboState& s = Combos().Of(hwnd);
        RECT client{};
        GetClientRect(hwnd, &client);
        const bool enabled = IsWindowEnabled(hwnd) != FALSE;
        const bool focused = GetFocus() == hwnd;
        theme::FillSolid(dc, client, enabled ? palette::kFace : palette::kPanel);
        theme::FrameSolid(dc, client,
                          !enabled  ? palette::kSeparator
                          : focused ? palette::kAccent
                                    : palette::kBorder);
        if (s.selection >= 0 && s.selection < static_cast<int>(s.items.size()))
        {
            RECT text{client.left + 5, client.top, client.right - kArrowWidth, client.bottom};
            theme::DrawLabel(dc, s.items[static_cast<size_t>(s.selection)].text, text,
                             DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS,
                             enabled ? palette::kText : palette::kDimText, s.font);
        }
        Gdiplus::Graphics g(dc);
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        Gdiplus::SolidBrush arrow(
            Gdiplus::ColorFromRef(enabled ? palette::kText : palette::kDimText));
        const Gdiplus::REAL cx = Gdiplus::REAL(client.right - kArrowWidth / 2 - 2);
        const Gdiplus::REAL cy = Gdiplus::REAL(client.top + client.bottom) / 2;
        const Gdiplus::PointF points[] = {{cx - 4, cy - 2}, {cx + 4, cy - 2}, {cx, cy + 3}};
        g.FillPolygon(&arrow, points, 3);
    }
    EndPaint(hwnd, &ps);
}

void PaintList(HWND list)
{
    PAINTSTRUCT ps{};
    const HDC dc = BeginPaint(list, &ps);
    const ListState* ls = Lists().Find(list);
    const ComboState* s = ls != nullptr ? Combos().Find(ls->combo) : nullptr;
    if (dc != nullptr && s != nullptr)
    {
        RECT client{};
        GetClientRect(list, &client);
        theme::FillSolid(dc, client, palette::kField);
        theme::FrameSolid(dc, client, palette::kBorder);
        const int rowHeight = ItemHeight(*s);
        const int count = static_cast<int>(s->items.size());
        const int rows = VisibleRows(list, *s);
        const bool scrolls = count > rows;
        if (scrolls)
        {
            // A thin bar shows where the visible rows are in a longer list.
            const int track = client.bottom - client.top - 2;
            const int thumb = std::max(8, track * rows / count);
            const int top = client.top + 1 + (track - thumb) * s->top / std::max(1, count - rows);
            theme::FillSolid(dc, RECT{client.right - 5, top, client.right - 2, top + thumb},
                             palette::kBorder);
        }
        for (int i = s->top; i < static_cast<int>(s->items.size()); ++i)
        {
            const int top = client.top + 1 + (i - s->top) * rowHeight;
            if (top >= client.bottom - 1)
            {
                break;
            }
            RECT row{client.left + 1, top, client.right - (scrolls ? 6 : 1),
                     std::min<LONG>(top + rowHeight, client.bottom - 1)};
            if (i == s->hot)
            {
                theme::FillSolid(dc, row, palette::kHighlight);
            }
            row.left += 4;
            theme::DrawLabel(dc, s->items[static_cast<size_t>(i)].text, row,
                             DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS,
                             i == s->selection ? palette::kAccent : palette::kText, s->font);
        }
    }
    EndPaint(list, &ps);
}

int RowAt(HWND list, const ComboState& s, POINT pt)
{
    RECT client{};
    GetClientRect(list, &client);
    if (pt.x < client.left || pt.x >= client.right || pt.y < client.top + 1 ||
        pt.y >= client.bottom - 1)
    {
        return -1;
    }
    const int row = s.top + (pt.y - client.top - 1) / ItemHeight(s);
    return row < static_cast<int>(s.items.size()) ? row : -1;
}

bool ValidIndex(const ComboState& s, WPARAM index)
{
    return static_cast<LONG_PTR>(index) >= 0 && index < s.items.size();
}

} // namespace

LRESULT ComboBoxWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_CREATE:
    {
        ComboState& s = Combos().Of(hwnd);
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        s.droppedHeight = cs != nullptr ? cs->cy : 0;
        FitClosedHeight(hwnd, s);
        return 0;
    }
    case WM_SETFONT:
    {
        ComboState& s = Combos().Of(hwnd);
        s.font = reinterpret_cast<HFONT>(wParam);
        FitClosedHeight(hwnd, s);
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS |
               (Combos().Of(hwnd).list != nullptr ? DLGC_WANTMESSAGE : 0);
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    {
        // The text of a drop-down list is its selection.
        const ComboState& s = Combos().Of(hwnd);
        const std::wstring text =
            s.selection >= 0 ? s.items[static_cast<size_t>(s.selection)].text : std::wstring();
        if (msg == WM_GETTEXTLENGTH)
        {
            return static_cast<LRESULT>(text.size());
        }
        auto* buffer = reinterpret_cast<LPWSTR>(lParam);
        if (buffer == nullptr || wParam == 0)
        {
            return 0;
        }
        const size_t n = std::min<size_t>(wParam - 1, text.size());
        std::wmemcpy(buffer, text.data(), n);
        buffer[n] = L'\0';
        return static_cast<LRESULT>(n);
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetFocus(hwnd);
        if (IsWindow(hwnd))
        {
            OpenList(hwnd);
        }
        return 0;
    case WM_KEYDOWN:
        ComboKey(hwnd, static_cast<UINT>(wParam));
        return 0;
    case WM_SYSKEYDOWN:
        // Alt+Down or Alt+Up opens the list, or chooses from the open one.
        if (wParam == VK_DOWN || wParam == VK_UP)
        {
            ComboKey(hwnd, VK_F4);
            return 0;
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_CHAR:
        if (wParam >= 0x20)
        {
            ComboChar(hwnd, static_cast<wchar_t>(wParam));
        }
        return 0;
    case WM_MOUSEWHEEL:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_SETFOCUS:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_KILLFOCUS:
        CloseList(hwnd);
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_ENABLE:
        if (wParam == FALSE)
        {
            CloseList(hwnd);
        }
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case CB_ADDSTRING:
    {
        ComboState& s = Combos().Of(hwnd);
        s.items.push_back({lParam != 0 ? reinterpret_cast<LPCWSTR>(lParam) : L"", 0});
        if (s.list != nullptr)
        {
            InvalidateRect(s.list, nullptr, FALSE);
        }
        return static_cast<LRESULT>(s.items.size() - 1);
    }
    case CB_GETCOUNT:
        return static_cast<LRESULT>(Combos().Of(hwnd).items.size());
    case CB_GETCURSEL:
        return Combos().Of(hwnd).selection;
    case CB_SETCURSEL:
    {
        // Never a notification: only the user's changes report.
        ComboState& s = Combos().Of(hwnd);
        s.selection = ValidIndex(s, wParam) ? static_cast<int>(wParam) : -1;
        InvalidateRect(hwnd, nullptr, FALSE);
        return s.selection >= 0 ? s.selection : CB_ERR;
    }
    case CB_GETLBTEXT:
    case CB_GETLBTEXTLEN:
    {
        const ComboState& s = Combos().Of(hwnd);
        if (!ValidIndex(s, wParam))
        {
            return CB_ERR;
        }
        const std::wstring& text = s.items[wParam].text;
        if (msg == CB_GETLBTEXT && lParam != 0)
        {
            std::wmemcpy(reinterpret_cast<LPWSTR>(lParam), text.c_str(), text.size() + 1);
        }
        return static_cast<LRESULT>(text.size());
    }
    case CB_RESETCONTENT:
    {
        CloseList(hwnd);
        ComboState& s = Combos().Of(hwnd);
        s.items.clear();
        s.selection = -1;
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    }
    case CB_GETITEMDATA:
    {
        const ComboState& s = Combos().Of(hwnd);
        return ValidIndex(s, wParam) ? static_cast<LRESULT>(s.items[wParam].data) : CB_ERR;
    }
    case CB_SETITEMDATA:
    {
        ComboState& s = Combos().Of(hwnd);
        if (!ValidIndex(s, wParam))
        {
            return CB_ERR;
        }
        s.items[wParam].data = static_cast<DWORD_PTR>(lParam);
        return TRUE;
    }
    case CB_SHOWDROPDOWN:
        if (wParam != 0)
        {
            OpenList(hwnd);
        }
        else
        {
            CloseList(hwnd);
        }
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return Combos().Of(hwnd).list != nullptr ? TRUE : FALSE;
    case WM_NCDESTROY:
        CloseList(hwnd);
        Combos().Drop(hwnd);
        return 0;
    default:
        return DefControlProc(Combos(), &PaintCombo, hwnd, msg, wParam, lParam);
    }
}

LRESULT ComboListWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    ListState* ls = Lists().Find(hwnd);
    ComboState* s = ls != nullptr ? Combos().Find(ls->combo) : nullptr;
    switch (msg)
    {
    case WM_NCCREATE:
    {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        Lists().Of(hwnd).combo = static_cast<HWND>(cs->lpCreateParams);
        return TRUE;
    }
    case WM_MOUSEMOVE:
        if (s != nullptr)
        {
            const int row = RowAt(hwnd, *s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            if (row >= 0 && row != s->hot)
            {
                s->hot = row;
                InvalidateRect(hwnd, nullptr, FALSE);
            }
        }
        return 0;
    case WM_LBUTTONDOWN:
        // A press outside the list dismisses it.
        if (s != nullptr && RowAt(hwnd, *s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) < 0)
        {
            CloseList(ls->combo);
        }
        return 0;
    case WM_LBUTTONUP:
        if (s != nullptr)
        {
            const int row = RowAt(hwnd, *s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            if (row >= 0)
            {
                Choose(ls->combo, row);
            }
        }
        return 0;
    case WM_MOUSEWHEEL:
        if (s != nullptr)
        {
            const int rows = VisibleRows(hwnd, *s);
            const int maxTop = std::max(0, static_cast<int>(s->items.size()) - rows);
            s->top = std::clamp(s->top + (GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -3 : 3), 0, maxTop);
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return TRUE;
    case WM_CAPTURECHANGED:
        // A modal loop or another window took the mouse: the list closes.
        if (s != nullptr && s->list == hwnd)
        {
            PostMessageW(ls->combo, CB_SHOWDROPDOWN, FALSE, 0);
        }
        return 0;
    case WM_NCDESTROY:
        // Gone with its owner's top-level: the combo box must not keep it.
        if (s != nullptr && s->list == hwnd)
        {
            s->list = nullptr;
        }
        Lists().Drop(hwnd);
        return 0;
    default:
        return DefControlProc(Lists(), &PaintList, hwnd, msg, wParam, lParam);
    }
}

} // namespace brvl::win32
