// tooltips_class32: tools are rectangles of host windows; after the mouse
// rests on one for 500 ms (moves relayed with TTM_RELAYEVENT) the host is asked
// for the text with TTN_GETDISPINFOW and the tip pops up below the pointer.

#include "platform/stdctrl/tooltip_control.h"

#include "platform/win32/control_messages.h"
#include "platform/win32/control_styles.h"
#include "platform/stdctrl/control_theme.h"
#include "platform/win32/palette.h"
#include "platform/win32/gdi.h"
#include "platform/stdctrl/standard_controls.h"
#include "platform/win32/window_system.h"

#include <algorithm>
#include <vector>

namespace brvl::win32
{

namespace
{

constexpr UINT kHoverDelayMs = 500;
constexpr UINT_PTR kHoverTimer = 1;
constexpr int kTipPadding = 6;
constexpr int kTipOffsetY = 20; // below the pointer

struct Tool
{
    UINT flags = 0;
    HWND host = nullptr;
    UINT_PTR id = 0;
    RECT rect{};
    bool callback = false;
    std::wstring text;
};

struct TooltipState
{
    std::vector<Tool> tools;
    bool active = true;
    int maxWidth = -1;
    std::wstring title;
    int titleIcon = TTI_NONE;
    int hover = -1; // the tool under the pointer
    std::wstring shownText;
    std::wstring shownTitle;
};

ControlStateTable<TooltipState>& Tooltips()
{
    static ControlStateTable<TooltipState> table;
    return table;
}

bool Contains(const Tool& tool, HWND host, POINT pt)
{
    if (tool.host != host)
    {
        return false;
    }
    if ((tool.flags & TTF_IDISHWND) != 0)
    {
        return true;
    }
    return pt.x >= tool.rect.left && pt.x < tool.rect.right && pt.y >= tool.rect.top &&
           pt.y < tool.rect.bottom;
}

int ToolAt(const TooltipState& s, HWND host, POINT pt)
{
    for (size_t i = 0; i < s.tools.size(); ++i)
    {
        if (Contains(s.tools[i], host, pt))
        {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// The tool's text, asking its host when the text is a callback. The host may
// set the title (TTM_SETTITLEW) while it answers.
std::wstring QueryText(HWND tooltip, size_t index)
{
    TooltipState* s = Tooltips().Find(tooltip);
    if (s == nullptr || index >= s->tools.size())
    {
        return {};
    }
    const Tool tool = s->tools[index];
    if (!tool.callback)
    {
        return tool.text;
    }
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = tooltip;
    info.hdr.idFrom = tool.id;
    info.hdr.code = TTN_GETDISPINFOW;
    info.lpszText = info.szText;
    info.uFlags = tool.flags;
    SendMessageW(tool.host, WM_NOTIFY, static_cast<WPARAM>(tool.id),
                 reinterpret_cast<LPARAM>(&info));
    if (info.lpszText == nullptr || info.lpszText == LPSTR_TEXTCALLBACKW)
    {
        return {};
    }
    // The text is either in szText or a string the host keeps.
    const wchar_t* text = info.lpszText;
    const size_t limit = text == info.szText ? std::size(info.szText) : static_cast<size_t>(-1);
    size_t length = 0;
    while (length < limit && text[length] != 0)
    {
        ++length;
    }
    return std::wstring(text, length);
}

void Hide(HWND tooltip, TooltipState& s)
{
    KillTimer(tooltip, kHoverTimer);
    s.hover = -1;
    if ((GetWindowStyle(tooltip) & WS_VISIBLE) != 0)
    {
        ShowWindow(tooltip, SW_HIDE);
    }
}

RECT TextBox(const TooltipState& s, const std::wstring& text)
{
    RECT box{0, 0, s.maxWidth > 0 ? s.maxWidth : 32767, 0};
    const HDC dc = CreateCompatibleDC(nullptr);
    if (dc != nullptr)
    {
        const HGDIOBJ previous = SelectObject(dc, theme::ControlFont(nullptr));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, previous);
        DeleteDC(dc);
    }
    return box;
}

void Pop(HWND tooltip)
{
    TooltipState* s = Tooltips().Find(tooltip);
    if (s == nullptr || s->hover < 0 || !s->active)
    {
        return;
    }
    const std::wstring text = QueryText(tooltip, static_cast<size_t>(s->hover));
    s = Tooltips().Find(tooltip);
    if (s == nullptr || text.empty())
    {
        return;
    }
    s->shownText = text;
    s->shownTitle = s->title;
    const RECT body = TextBox(*s, text);
    const SIZE title = s->title.empty() ? SIZE{0, 0} : theme::MeasureText(nullptr, s->title);
    const int width = std::max<int>(body.right - body.left, title.cx) + 2 * kTipPadding;
    const int height = static_cast<int>(body.bottom - body.top + title.cy) + 2 * kTipPadding +
                       (title.cy > 0 ? 2 : 0);
    POINT at{};
    GetCursorPos(&at);
    SetWindowPos(tooltip, nullptr, at.x, at.y + kTipOffsetY, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(tooltip, nullptr, FALSE);
    ShowWindow(tooltip, SW_SHOWNA);
}

void Relay(HWND tooltip, TooltipState& s, const MSG& relayed)
{
    if (relayed.message != WM_MOUSEMOVE)
    {
        Hide(tooltip, s); // a press, a release or the pointer leaving ends the tip
        return;
    }
    const POINT pt{GET_X_LPARAM(relayed.lParam), GET_Y_LPARAM(relayed.lParam)};
    const int tool = ToolAt(s, relayed.hwnd, pt);
    if (tool == s.hover)
    {
        return;
    }
    Hide(tooltip, s);
    s.hover = tool;
    if (tool >= 0 && s.active)
    {
        SetTimer(tooltip, kHoverTimer, kHoverDelayMs, nullptr);
    }
}

void Paint(HWND tooltip)
{
    PAINTSTRUCT ps{};
    const HDC dc = BeginPaint(tooltip, &ps);
    const TooltipState* s = Tooltips().Find(tooltip);
    if (dc != nullptr && s != nullptr)
    {
        RECT client{};
        GetClientRect(tooltip, &client);
        theme::FillSolid(dc, client, palette::kFace);
        theme::FrameSolid(dc, client, palette::kBorder);
        RECT r{client.left + kTipPadding, client.top + kTipPadding, client.right - kTipPadding,
               client.bottom - kTipPadding};
        if (!s->shownTitle.empty())
        {
            const SIZE title = theme::MeasureText(nullptr, s->shownTitle);
            theme::DrawLabel(dc, s->shownTitle, r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX,
                             palette::kAccent, nullptr);
            r.top += title.cy + 2;
        }
        theme::DrawLabel(dc, s->shownText, r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX, palette::kText,
                         nullptr);
    }
    EndPaint(tooltip, &ps);
}

} // namespace

std::optional<TooltipText> RequestTooltip(HWND host, POINT clientPoint)
{
    std::vector<std::pair<HWND, int>> candidates;
    Tooltips().ForEach(
        [&](HWND tooltip, TooltipState& s)
        {
            const int tool = ToolAt(s, host, clientPoint);
            if (s.active && tool >= 0)
            {
                candidates.emplace_back(tooltip, tool);
            }
        });
    for (const auto& [tooltip, tool] : candidates)
    {
        if (!IsWindow(tooltip))
        {
            continue;
        }
        TooltipText result;
        result.text = QueryText(tooltip, static_cast<size_t>(tool));
        if (const TooltipState* s = Tooltips().Find(tooltip))
        {
            result.title = s->title;
        }
        return result;
    }
    return std::nullopt;
}

LRESULT TooltipWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_CREATE:
        Tooltips().Of(hwnd);
        return 0;
    case WM_TIMER:
        if (wParam == kHoverTimer)
        {
            KillTimer(hwnd, kHoverTimer);
            Pop(hwnd);
        }
        return 0;
    case TTM_ADDTOOLW:
    {
        const auto* info = reinterpret_cast<const TOOLINFOW*>(lParam);
        if (info == nullptr)
        {
            return FALSE;
        }
        Tool tool;
        tool.flags = info->uFlags;
        tool.host = info->hwnd;
        tool.id = info->uId;
        tool.rect = info->rect;
        tool.callback = info->lpszText == LPSTR_TEXTCALLBACKW;
        if (!tool.callback && info->lpszText != nullptr)
        {
            tool.text = info->lpszText;
        }
        Tooltips().Of(hwnd).tools.push_back(tool);
        return TRUE;
    }
    case TTM_DELTOOLW:
    {
        const auto* info = reinterpret_cast<const TOOLINFOW*>(lParam);
        TooltipState& s = Tooltips().Of(hwnd);
        if (info != nullptr)
        {
            Hide(hwnd, s);
            std::erase_if(s.tools,
                          [&](const Tool& t) { return t.host == info->hwnd && t.id == info->uId; });
        }
        return 0;
    }
    case TTM_ACTIVATE:
    {
        TooltipState& s = Tooltips().Of(hwnd);
        s.active = wParam != FALSE;
        if (!s.active)
        {
            Hide(hwnd, s);
        }
        return 0;
    }
    case TTM_RELAYEVENT:
        if (lParam != 0)
        {
            Relay(hwnd, Tooltips().Of(hwnd), *reinterpret_cast<const MSG*>(lParam));
        }
        return 0;
    case TTM_SETMAXTIPWIDTH:
    {
        TooltipState& s = Tooltips().Of(hwnd);
        const int previous = s.maxWidth;
        s.maxWidth = static_cast<int>(lParam);
        return previous;
    }
    case TTM_SETTITLEW:
    {
        TooltipState& s = Tooltips().Of(hwnd);
        s.titleIcon = static_cast<int>(wParam);
        s.title = lParam != 0 ? reinterpret_cast<LPCWSTR>(lParam) : L"";
        return TRUE;
    }
    default:
        return DefControlProc(Tooltips(), &Paint, hwnd, msg, wParam, lParam);
    }
}

} // namespace brvl::win32
