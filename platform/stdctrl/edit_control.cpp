// EDIT: single-line (scrolls sideways with the caret) and multi-line (wraps at
// words, scrolls vertically) text fields with caret, selection, keyboard
// editing and the clipboard.

#include "platform/stdctrl/control_theme.h"
#include "platform/win32/palette.h"
#include "platform/stdctrl/edit_text_model.h"
#include "platform/stdctrl/standard_controls.h"
#include "platform/win32/backend_bridge.h"
#include "platform/win32/backend_seam.h"
#include "platform/win32/control_messages.h"
#include "platform/win32/control_styles.h"
#include "platform/win32/gdi.h"
#include "platform/win32/window_system.h"

#include <algorithm>
#include <vector>

namespace brvl::win32
{

namespace
{

constexpr int kPadding = 3;        // between the field's edge and the text
constexpr int kScrollBarWidth = 8; // the drawn vertical scroll bar
constexpr int kWheelLines = 3;     // lines per wheel notch

struct VisualLine
{
    size_t start = 0;
    size_t end = 0; // excludes a line break
};

struct EditState
{
    EditTextModel model;
    HFONT font = nullptr;
    int scrollX = 0;      // single-line: pixels hidden on the left
    size_t firstLine = 0; // multi-line: first visual line shown
    bool selecting = false;
};

ControlStateTable<EditState>& Edits()
{
    static ControlStateTable<EditState> table;
    return table;
}

// A memory DC with the field's font, for measuring text.
class Measurer
{
public:
    explicit Measurer(HFONT font) : m_dc(CreateCompatibleDC(nullptr))
    {
        if (m_dc != nullptr)
        {
            m_previous = SelectObject(m_dc, theme::ControlFont(font));
        }
    }
    ~Measurer()
    {
        if (m_dc != nullptr)
        {
            SelectObject(m_dc, m_previous);
            DeleteDC(m_dc);
        }
    }
    Measurer(const Measurer&) = delete;
    Measurer& operator=(const Measurer&) = delete;

    int Width(const std::wstring& text, size_t from, size_t to) const
    {
        if (m_dc == nullptr || to <= from)
        {
            return 0;
        }
        SIZE size{};
        GetTextExtentPoint32W(m_dc, text.c_str() + from, static_cast<int>(to - from), &size);
        return size.cx;
    }
    int LineHeight() const
    {
        SIZE size{};
        if (m_dc != nullptr)
        {
            GetTextExtentPoint32W(m_dc, L"Ag", 2, &size);
        }
        return std::max<int>(size.cy, 1);
    }

private:
    HDC m_dc;
    HGDIOBJ m_previous = nullptr;
};

DWORD StyleOf(HWND hwnd)
{
    return GetWindowStyle(hwnd);
}

bool IsReadOnly(HWND hwnd)
{
    return (StyleOf(hwnd) & ES_READONLY) != 0;
}

RECT TextArea(HWND hwnd, const EditState& s)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    RECT area{client.left + kPadding, client.top + (s.model.MultiLine() ? kPadding : 0),
              client.right - kPadding, client.bottom - (s.model.MultiLine() ? kPadding : 0)};
    if (s.model.MultiLine() && (StyleOf(hwnd) & WS_VSCROLL) != 0)
    {
        area.right -= kScrollBarWidth;
    }
    area.right = std::max(area.right, area.left + 1);
    return area;
}

// Wraps each line at the last blank that fits (or mid-word when none does).
std::vector<VisualLine> LayoutLines(HWND hwnd, const EditState& s, const Measurer& m)
{
    const std::wstring& text = s.model.Inner();
    std::vector<VisualLine> lines;
    if (!s.model.MultiLine())
    {
        lines.push_back({0, text.size()});
        return lines;
    }
    const RECT area = TextArea(hwnd, s);
    const int width = area.right - area.left;
    size_t lineStart = 0;
    while (true)
    {
        const size_t lineEnd = std::min(text.find(L'\n', lineStart), text.size());
        size_t pos = lineStart;
        do
        {
            // Every character is at least a pixel wide (a zero-width run only
            // wraps early), so a row never holds more than `width` of them:
            // measuring only that far keeps a long pasted paragraph from
            // costing its whole length for every row.
            const size_t reach = std::min(lineEnd, pos + static_cast<size_t>(width) + 1);
            if (reach == lineEnd && m.Width(text, pos, lineEnd) <= width)
            {
                lines.push_back({pos, lineEnd});
                break;
            }
            // Largest end that fits, by bisection; at least one character.
            size_t lo = pos + 1;
            size_t hi = reach;
            while (lo < hi)
            {
                const size_t mid = (lo + hi + 1) / 2;
                if (m.Width(text, pos, mid) <= width)
                {
                    lo = mid;
                }
                else
                {
                    hi = mid - 1;
                }
            }
            size_t cut = lo;
            for (size_t k = lo; k > pos; --k)
            {
                if (text[k - 1] == L' ')
                {
                    cut = k;
                    break;
                }
            }
            lines.push_back({pos, cut});
            pos = cut;
        } while (pos < lineEnd);
        if (lineEnd >= text.size())
        {
            break;
        }
        lineStart = lineEnd + 1;
    }
    return lines;
}

size_t LineOf(const std::vector<VisualLine>& lines, size_t position)
{
    for (size_t i = 0; i < lines.size(); ++i)
    {
        const bool wrappedEnd = i + 1 < lines.size() && lines[i + 1].start == lines[i].end;
        if (position >= lines[i].start &&
            (position < lines[i].end || (position == lines[i].end && !wrappedEnd)))
        {
            return i;
        }
    }
    return lines.empty() ? 0 : lines.size() - 1;
}

size_t VisibleLineCount(HWND hwnd, const EditState& s, const Measurer& m)
{
    const RECT area = TextArea(hwnd, s);
    return std::max<size_t>(1, static_cast<size_t>((area.bottom - area.top) / m.LineHeight()));
}

// The position in `line` nearest to x (pixels from the line's start).
size_t PositionAtX(const EditState& s, const Measurer& m, const VisualLine& line, int x)
{
    // The width grows with the end, so bisect for the last end left of x and
    // take it or the next one: a few measurements even on a pasted line of
    // thousands of characters, where measuring every end would hang the field.
    const std::wstring& text = s.model.Inner();
    size_t lo = line.start; // Width(lo) <= x, or lo is the line's start
    size_t hi = line.end;
    while (lo < hi)
    {
        const size_t mid = lo + (hi - lo + 1) / 2;
        if (m.Width(text, line.start, mid) <= x)
        {
            lo = mid;
        }
        else
        {
            hi = mid - 1;
        }
    }
    if (lo < line.end && std::abs(m.Width(text, line.start, lo + 1) - x) <
                             std::abs(m.Width(text, line.start, lo) - x))
    {
        return lo + 1;
    }
    return lo;
}

void EnsureCaretVisible(HWND hwnd, EditState& s)
{
    const Measurer m(s.font);
    const RECT area = TextArea(hwnd, s);
    if (!s.model.MultiLine())
    {
        const int caretX = m.Width(s.model.Inner(), 0, s.model.Caret());
        const int width = area.right - area.left;
        if (caretX - s.scrollX > width - 1)
        {
            s.scrollX = caretX - width + 1;
        }
        if (caretX < s.scrollX)
        {
            s.scrollX = caretX;
        }
        const int full = m.Width(s.model.Inner(), 0, s.model.Inner().size());
        s.scrollX = std::clamp(s.scrollX, 0, std::max(0, full - width + 1));
        return;
    }
    const std::vector<VisualLine> lines = LayoutLines(hwnd, s, m);
    const size_t line = LineOf(lines, s.model.Caret());
    const size_t visible = VisibleLineCount(hwnd, s, m);
    if (line < s.firstLine)
    {
        s.firstLine = line;
    }
    else if (line >= s.firstLine + visible)
    {
        s.firstLine = line + 1 - visible;
    }
    s.firstLine = std::min(s.firstLine, lines.size() > visible ? lines.size() - visible : 0);
}

size_t HitPosition(HWND hwnd, EditState& s, POINT pt)
{
    const Measurer m(s.font);
    const RECT area = TextArea(hwnd, s);
    const std::vector<VisualLine> lines = LayoutLines(hwnd, s, m);
    if (!s.model.MultiLine())
    {
        return PositionAtX(s, m, lines[0], pt.x - area.left + s.scrollX);
    }
    // Rows above the text count negative, so a drag upwards reaches the line before.
    const int offset = pt.y - area.top;
    const int height = m.LineHeight();
    const int row = offset >= 0 ? offset / height : -((-offset + height - 1) / height);
    const long long index = static_cast<long long>(s.firstLine) + row;
    const size_t line = static_cast<size_t>(
        std::clamp<long long>(index, 0, static_cast<long long>(lines.size()) - 1));
    return PositionAtX(s, m, lines[line], pt.x - area.left);
}

void Changed(HWND hwnd, EditState& s)
{
    // The window's own text follows the field so that every text query agrees.
    const std::wstring text = s.model.Text();
    DefWindowProcW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    EnsureCaretVisible(hwnd, s);
    InvalidateRect(hwnd, nullptr, FALSE);
}

void UserEdited(HWND hwnd, EditState& s)
{
    Changed(hwnd, s);
    NotifyParent(hwnd, EN_CHANGE);
}

void SelectionMoved(HWND hwnd, EditState& s)
{
    EnsureCaretVisible(hwnd, s);
    InvalidateRect(hwnd, nullptr, FALSE);
}

void Copy(const EditState& s)
{
    if (s.model.HasSelection())
    {
        backend::CurrentBackend().SetClipboardText(s.model.SelectedText());
    }
}

void Cut(HWND hwnd, EditState& s)
{
    if (!IsReadOnly(hwnd) && s.model.HasSelection())
    {
        Copy(s);
        s.model.ReplaceSelection(L"");
        UserEdited(hwnd, s);
    }
}

void Paste(HWND hwnd, EditState& s)
{
    if (IsReadOnly(hwnd))
    {
        return;
    }
    // Nothing on the clipboard pastes nothing: the selection stays.
    const std::wstring text = backend::CurrentBackend().ClipboardText();
    if (!text.empty() && s.model.ReplaceSelection(text))
    {
        UserEdited(hwnd, s);
    }
}

void MoveVertically(HWND hwnd, EditState& s, int lines, bool extend)
{
    const Measurer m(s.font);
    const std::vector<VisualLine> layout = LayoutLines(hwnd, s, m);
    const size_t current = LineOf(layout, s.model.Caret());
    const int x = m.Width(s.model.Inner(), layout[current].start, s.model.Caret());
    const long long target = std::clamp<long long>(static_cast<long long>(current) + lines, 0,
                                                   static_cast<long long>(layout.size()) - 1);
    s.model.MoveCaret(PositionAtX(s, m, layout[static_cast<size_t>(target)], x), extend);
}

void LineBoundary(HWND hwnd, EditState& s, bool toEnd, bool extend)
{
    const Measurer m(s.font);
    const std::vector<VisualLine> layout = LayoutLines(hwnd, s, m);
    const VisualLine& line = layout[LineOf(layout, s.model.Caret())];
    s.model.MoveCaret(toEnd ? line.end : line.start, extend);
}

void KeyDown(HWND hwnd, EditState& s, UINT key)
{
    const UINT modifiers = WindowSystem::Instance().keyModifiers;
    const bool shift = (modifiers & MK_SHIFT) != 0;
    const bool control = (modifiers & MK_CONTROL) != 0;
    const bool readOnly = IsReadOnly(hwnd);
    EditTextModel& model = s.model;
    switch (key)
    {
    case VK_LEFT:
    case VK_RIGHT:
    {
        const bool left = key == VK_LEFT;
        if (model.HasSelection() && !shift && !control)
        {
            model.MoveCaret(left ? model.SelectionStart() : model.SelectionEnd(), false);
        }
        else if (control)
        {
            model.MoveCaret(left ? model.WordLeft(model.Caret()) : model.WordRight(model.Caret()),
                            shift);
        }
        else
        {
            const size_t caret = model.Caret();
            model.MoveCaret(left ? (caret > 0 ? caret - 1 : 0) : caret + 1, shift);
        }
        SelectionMoved(hwnd, s);
        return;
    }
    case VK_UP:
    case VK_DOWN:
        if (model.MultiLine())
        {
            MoveVertically(hwnd, s, key == VK_UP ? -1 : 1, shift);
            SelectionMoved(hwnd, s);
        }
        else
        {
            KeyDown(hwnd, s, key == VK_UP ? VK_LEFT : VK_RIGHT);
        }
        return;
    case VK_PRIOR:
    case VK_NEXT:
        if (model.MultiLine())
        {
            const Measurer m(s.font);
            const int page = static_cast<int>(VisibleLineCount(hwnd, s, m));
            MoveVertically(hwnd, s, key == VK_PRIOR ? -page : page, shift);
            SelectionMoved(hwnd, s);
        }
        return;
    case VK_HOME:
    case VK_END:
        if (control)
        {
            model.MoveCaret(key == VK_HOME ? 0 : model.Inner().size(), shift);
        }
        else
        {
            LineBoundary(hwnd, s, key == VK_END, shift);
        }
        SelectionMoved(hwnd, s);
        return;
    case VK_BACK:
        if (!readOnly && model.DeleteBackward())
        {
            UserEdited(hwnd, s);
        }
        return;
    case VK_DELETE:
        if (shift)
        {
            Cut(hwnd, s); // Shift+Delete
            return;
        }
        if (!readOnly && model.DeleteForward())
        {
            UserEdited(hwnd, s);
        }
        return;
    case VK_INSERT:
        if (control)
        {
            Copy(s);
        }
        else if (shift)
        {
            Paste(hwnd, s);
        }
        return;
    case VK_RETURN:
        if (model.MultiLine() && (StyleOf(hwnd) & ES_WANTRETURN) != 0 && !readOnly &&
            model.ReplaceSelection(L"\n"))
        {
            UserEdited(hwnd, s);
        }
        return;
    default:
        break;
    }
    // Clipboard and select-all with Ctrl.
    if (!control)
    {
        return;
    }
    switch (key)
    {
    case 'A':
        model.SelectAll();
        SelectionMoved(hwnd, s);
        break;
    case 'C':
        Copy(s);
        break;
    case 'X':
        Cut(hwnd, s);
        break;
    case 'V':
        Paste(hwnd, s);
        break;
    default:
        break;
    }
}

void PaintScrollBar(HDC dc, const RECT& client, size_t first, size_t visible, size_t total)
{
    const RECT track{client.right - kScrollBarWidth, client.top, client.right, client.bottom};
    theme::FillSolid(dc, track, palette::kFace);
    if (total <= visible)
    {
        return;
    }
    const int height = track.bottom - track.top;
    const int thumb = std::max(8, static_cast<int>(height * visible / total));
    const int top = static_cast<int>((height - thumb) * first / (total - visible));
    const RECT r{track.left + 2, track.top + top, track.right - 2, track.top + top + thumb};
    theme::FillSolid(dc, r, palette::kBorder);
}

void Paint(HWND hwnd)
{
    PAINTSTRUCT ps{};
    const HDC dc = BeginPaint(hwnd, &ps);
    if (dc != nullptr)
    {
        EditState& s = Edits().Of(hwnd);
        RECT client{};
        GetClientRect(hwnd, &client);
        const bool enabled = IsWindowEnabled(hwnd) != FALSE;
        const bool focused = GetFocus() == hwnd;
        theme::FillSolid(dc, client,
                         !enabled || IsReadOnly(hwnd) ? palette::kPanel : palette::kField);
        const Measurer m(s.font);
        const RECT area = TextArea(hwnd, s);
        const std::vector<VisualLine> lines = LayoutLines(hwnd, s, m);
        const int lineHeight = m.LineHeight();
        const std::wstring& text = s.model.Inner();
        const size_t selStart = s.model.SelectionStart();
        const size_t selEnd = s.model.SelectionEnd();
        const HGDIOBJ previousFont = SelectObject(dc, theme::ControlFont(s.font));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, enabled ? palette::kText : palette::kDimText);
        const int originX = area.left - (s.model.MultiLine() ? 0 : s.scrollX);
        const int firstTop = s.model.MultiLine()
                                 ? area.top
                                 : client.top + (client.bottom - client.top - lineHeight) / 2;
        const size_t first = s.model.MultiLine() ? s.firstLine : 0;
        for (size_t i = first; i < lines.size(); ++i)
        {
            const int top = firstTop + static_cast<int>(i - first) * lineHeight;
            if (top >= client.bottom)
            {
                break;
            }
            const VisualLine& line = lines[i];
            if (focused && selEnd > selStart && selStart <= line.end && selEnd >= line.start)
            {
                const size_t a = std::max(selStart, line.start);
                const size_t b = std::min(selEnd, line.end);
                const bool takesBreak = selEnd > line.end && line.end < text.size();
                const RECT band{originX + m.Width(text, line.start, a), top,
                                originX + m.Width(text, line.start, b) + (takesBreak ? 4 : 0),
                                top + lineHeight};
                theme::FillSolid(dc, band, palette::kSelection);
            }
            RECT r{originX, top, std::max<LONG>(area.right, originX + 32767), top + lineHeight};
            DrawTextW(dc, text.c_str() + line.start, static_cast<int>(line.end - line.start), &r,
                      DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
        }
        if (focused)
        {
            const size_t caretLine = LineOf(lines, s.model.Caret());
            if (caretLine >= first)
            {
                const int x = originX + m.Width(text, lines[caretLine].start, s.model.Caret());
                const int top = firstTop + static_cast<int>(caretLine - first) * lineHeight;
                theme::FillSolid(dc, RECT{x, top, x + 1, top + lineHeight}, palette::kText);
            }
        }
        SelectObject(dc, previousFont);
        if (s.model.MultiLine() && (StyleOf(hwnd) & WS_VSCROLL) != 0)
        {
            PaintScrollBar(dc, client, first, VisibleLineCount(hwnd, s, m), lines.size());
        }
    }
    EndPaint(hwnd, &ps);
}

} // namespace

LRESULT EditWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_CREATE:
    {
        EditState& s = Edits().Of(hwnd);
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        s.model = EditTextModel((StyleOf(hwnd) & ES_MULTILINE) != 0);
        s.model.SetText(cs != nullptr && cs->lpszName != nullptr ? cs->lpszName : L"");
        Changed(hwnd, s);
        return 0;
    }
    case WM_SIZE:
        if (EditState* s = Edits().Find(hwnd))
        {
            EnsureCaretVisible(hwnd, *s);
        }
        return 0;
    case WM_SETTEXT:
    {
        EditState& s = Edits().Of(hwnd);
        s.model.SetText(lParam != 0 ? reinterpret_cast<LPCWSTR>(lParam) : L"");
        s.scrollX = 0;
        s.firstLine = 0;
        Changed(hwnd, s);
        // As Windows: a single-line field reports a programmatic change, a
        // multi-line one does not.
        if (!s.model.MultiLine())
        {
            NotifyParent(hwnd, EN_CHANGE);
        }
        return TRUE;
    }
    case WM_GETDLGCODE:
    {
        UINT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
        const auto* asked = reinterpret_cast<const MSG*>(lParam);
        if (asked != nullptr && asked->message == WM_KEYDOWN && asked->wParam == VK_RETURN &&
            (StyleOf(hwnd) & (ES_MULTILINE | ES_WANTRETURN)) == (ES_MULTILINE | ES_WANTRETURN))
        {
            code |= DLGC_WANTMESSAGE;
        }
        return code;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_KEYDOWN:
        KeyDown(hwnd, Edits().Of(hwnd), static_cast<UINT>(wParam));
        return 0;
    case WM_CHAR:
    {
        const auto ch = static_cast<wchar_t>(wParam);
        const UINT modifiers = WindowSystem::Instance().keyModifiers;
        const bool controlOnly = (modifiers & MK_CONTROL) != 0 && (modifiers & kModifierAlt) == 0;
        // Control keys are handled as keys; a character typed with Ctrl is a shortcut.
        if (ch < 0x20 || ch == 0x7F || controlOnly || IsReadOnly(hwnd))
        {
            return 0;
        }
        EditState& s = Edits().Of(hwnd);
        const wchar_t typed[2] = {ch, 0};
        if (s.model.ReplaceSelection(typed))
        {
            UserEdited(hwnd, s);
        }
        return 0;
    }
    case WM_LBUTTONDOWN:
    {
        SetFocus(hwnd);
        if (!IsWindow(hwnd))
        {
            return 0;
        }
        EditState& s = Edits().Of(hwnd);
        const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        s.model.MoveCaret(HitPosition(hwnd, s, pt), (wParam & MK_SHIFT) != 0);
        s.selecting = true;
        SetCapture(hwnd);
        SelectionMoved(hwnd, s);
        return 0;
    }
    case WM_LBUTTONDBLCLK:
    {
        EditState& s = Edits().Of(hwnd);
        const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const size_t at = HitPosition(hwnd, s, pt);
        const size_t end = s.model.WordRight(at);
        s.model.Select(s.model.WordLeft(std::min(end, at + 1)), end);
        SelectionMoved(hwnd, s);
        return 0;
    }
    case WM_MOUSEMOVE:
    {
        EditState& s = Edits().Of(hwnd);
        if (s.selecting && GetCapture() == hwnd)
        {
            const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            s.model.MoveCaret(HitPosition(hwnd, s, pt), true);
            SelectionMoved(hwnd, s);
        }
        return 0;
    }
    case WM_LBUTTONUP:
        Edits().Of(hwnd).selecting = false;
        if (GetCapture() == hwnd)
        {
            ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED:
        Edits().Of(hwnd).selecting = false;
        return 0;
    case WM_MOUSEWHEEL:
    {
        EditState& s = Edits().Of(hwnd);
        if (!s.model.MultiLine())
        {
            return DefWindowProcW(hwnd, msg, wParam, lParam);
        }
        const Measurer m(s.font);
        const size_t total = LayoutLines(hwnd, s, m).size();
        const size_t visible = VisibleLineCount(hwnd, s, m);
        const long long step = GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -kWheelLines : kWheelLines;
        const long long maxFirst = total > visible ? static_cast<long long>(total - visible) : 0;
        s.firstLine = static_cast<size_t>(
            std::clamp<long long>(static_cast<long long>(s.firstLine) + step, 0, maxFirst));
        InvalidateRect(hwnd, nullptr, FALSE);
        return TRUE;
    }
    case EM_GETSEL:
    {
        const EditState& s = Edits().Of(hwnd);
        const auto start = static_cast<DWORD>(s.model.ToOuter(s.model.SelectionStart()));
        const auto end = static_cast<DWORD>(s.model.ToOuter(s.model.SelectionEnd()));
        if (wParam != 0)
        {
            *reinterpret_cast<DWORD*>(wParam) = start;
        }
        if (lParam != 0)
        {
            *reinterpret_cast<DWORD*>(lParam) = end;
        }
        return MAKELRESULT(std::min<DWORD>(start, 0xFFFF), std::min<DWORD>(end, 0xFFFF));
    }
    case EM_SETSEL:
    {
        EditState& s = Edits().Of(hwnd);
        const auto start = static_cast<long long>(static_cast<LPARAM>(static_cast<int>(wParam)));
        const long long end = static_cast<int>(lParam);
        if (start < 0)
        {
            s.model.MoveCaret(s.model.Caret(), false); // -1 removes the selection
        }
        else
        {
            const size_t length = s.model.Inner().size();
            const size_t a = s.model.ToInner(static_cast<size_t>(start));
            const size_t b = end < 0 ? length : s.model.ToInner(static_cast<size_t>(end));
            s.model.Select(std::min(a, b), std::max(a, b));
        }
        SelectionMoved(hwnd, s);
        return 0;
    }
    case EM_REPLACESEL:
    {
        EditState& s = Edits().Of(hwnd);
        if (lParam != 0 && s.model.ReplaceSelection(reinterpret_cast<LPCWSTR>(lParam)))
        {
            UserEdited(hwnd, s);
        }
        return 0;
    }
    case EM_SETREADONLY:
    {
        const WindowPtr w = WindowSystem::Instance().Find(hwnd);
        if (w)
        {
            w->style = wParam != 0 ? (w->style | ES_READONLY) : (w->style & ~ES_READONLY);
        }
        InvalidateRect(hwnd, nullptr, FALSE);
        return TRUE;
    }
    case EM_GETLINECOUNT:
    {
        EditState& s = Edits().Of(hwnd);
        const Measurer m(s.font);
        return static_cast<LRESULT>(LayoutLines(hwnd, s, m).size());
    }
    default:
        return DefControlProc(Edits(), &Paint, hwnd, msg, wParam, lParam);
    }
}

} // namespace brvl::win32
