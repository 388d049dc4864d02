#include "platform/stdctrl/dialog_box.h"

#include "platform/stdctrl/control_theme.h"
#include "platform/stdctrl/standard_controls.h"
#include "platform/win32/backend_seam.h"
#include "platform/win32/palette.h"
#include "platform/win32/gdi.h"
#include "platform/win32/message_box.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/window_system.h"

#include <algorithm>
#include <string>
#include <vector>

namespace brvl::win32
{

namespace
{

struct DialogState
{
    HFONT font = nullptr;
    SIZE baseUnits{8, 16};
    int defaultId = IDOK;
    bool modal = false;
    bool ended = false;
    INT_PTR result = 0;
};

ControlStateTable<DialogState>& Dialogs()
{
    static ControlStateTable<DialogState> table;
    return table;
}

// Base units from the dialog font: the average width of "A".."Z" "a".."z" and
// the font's line height. Decision: the average is rounded up, not to the
// nearest, because the font the dialog font maps to sets words about 10 %
// wider than the original for the same average, and labels sized to their
// text in the templates ("Format" in 22 units) would otherwise be cut.
SIZE MeasureBaseUnits(HFONT font)
{
    const SIZE letters =
        theme::MeasureText(font, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    SIZE units{(letters.cx + 51) / 52, letters.cy};
    units.cx = std::max<LONG>(units.cx, 1);
    units.cy = std::max<LONG>(units.cy, 1);
    return units;
}

RECT ToPixels(const SIZE& units, int x, int y, int cx, int cy)
{
    const int left = MulDiv(x, units.cx, 4);
    const int top = MulDiv(y, units.cy, 8);
    return RECT{left, top, MulDiv(x + cx, units.cx, 4), MulDiv(y + cy, units.cy, 8)};
}

bool IsTabCandidate(HWND hwnd)
{
    const DWORD style = GetWindowStyle(hwnd);
    return (style & WS_TABSTOP) != 0 && (style & WS_VISIBLE) != 0 && (style & WS_DISABLED) == 0;
}

bool IsUsable(HWND hwnd)
{
    const DWORD style = GetWindowStyle(hwnd);
    return (style & WS_VISIBLE) != 0 && (style & WS_DISABLED) == 0;
}

UINT DialogCodeOf(HWND control, MSG* msg)
{
    return static_cast<UINT>(SendMessageW(control, WM_GETDLGCODE, msg != nullptr ? msg->wParam : 0,
                                          reinterpret_cast<LPARAM>(msg)));
}

// The direct child of `dialog` that holds `hwnd` (the control a message is for).
HWND ControlOf(HWND dialog, HWND hwnd)
{
    while (hwnd != nullptr && GetParent(hwnd) != dialog)
    {
        hwnd = GetParent(hwnd);
    }
    return hwnd;
}

// The controls of the WS_GROUP group that holds `control`, in z-order.
std::vector<HWND> GroupOf(HWND dialog, HWND control)
{
    const std::vector<HWND> children = ChildWindows(dialog);
    const auto at = std::find(children.begin(), children.end(), control);
    if (at == children.end())
    {
        return {};
    }
    auto first = at;
    while (first != children.begin() && (GetWindowStyle(*first) & WS_GROUP) == 0)
    {
        --first;
    }
    auto last = at + 1;
    while (last != children.end() && (GetWindowStyle(*last) & WS_GROUP) == 0)
    {
        ++last;
    }
    return std::vector<HWND>(first, last);
}

// Tabbing into a radio group lands on its checked button when there is one.
HWND CheckedRadioOfGroup(HWND dialog, HWND radio)
{
    if ((DialogCodeOf(radio, nullptr) & DLGC_RADIOBUTTON) == 0 ||
        SendMessageW(radio, BM_GETCHECK, 0, 0) == BST_CHECKED)
    {
        return radio;
    }
    for (HWND member : GroupOf(dialog, radio))
    {
        if (IsUsable(member) && (DialogCodeOf(member, nullptr) & DLGC_RADIOBUTTON) != 0 &&
            SendMessageW(member, BM_GETCHECK, 0, 0) == BST_CHECKED)
        {
            return member;
        }
    }
    return radio;
}

void PressDialogButton(HWND dialog, int id)
{
    const HWND button = GetDlgItem(dialog, id);
    if (button != nullptr && !IsWindowEnabled(button))
    {
        return; // a disabled default button does nothing
    }
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

HWND FindFirstDefaultButton(HWND dialog)
{
    for (HWND child : ChildWindows(dialog))
    {
        if ((DialogCodeOf(child, nullptr) & DLGC_DEFPUSHBUTTON) != 0)
        {
            return child;
        }
    }
    return nullptr;
}

bool HandleDialogKey(HWND dialog, MSG* msg, HWND control, UINT code)
{
    const UINT key = static_cast<UINT>(msg->wParam);
    const bool shift = (WindowSystem::Instance().keyModifiers & MK_SHIFT) != 0;
    switch (key)
    {
    case VK_TAB:
    {
        if ((code & DLGC_WANTTAB) != 0)
        {
            return false;
        }
        if (const HWND next = GetNextDlgTabItem(dialog, control, shift ? TRUE : FALSE))
        {
            SetDialogFocus(dialog, next);
        }
        return true;
    }
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    {
        if ((code & DLGC_WANTARROWS) != 0 || control == nullptr)
        {
            return false;
        }
        const BOOL previous = key == VK_LEFT || key == VK_UP ? TRUE : FALSE;
        const HWND next = GetNextDlgGroupItem(dialog, control, previous);
        if (next != nullptr && next != control)
        {
            SetFocus(next);
            if ((DialogCodeOf(next, nullptr) & DLGC_RADIOBUTTON) != 0)
            {
                SendMessageW(next, BM_CLICK, 0, 0);
            }
        }
        return true;
    }
    case VK_RETURN:
    {
        if (control != nullptr && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0)
        {
            PressDialogButton(dialog, GetDlgCtrlID(control));
            return true;
        }
        const LRESULT def = SendMessageW(dialog, DM_GETDEFID, 0, 0);
        const int id = HIWORD(static_cast<std::uintptr_t>(def)) == DC_HASDEFID
                           ? LOWORD(static_cast<std::uintptr_t>(def))
                           : IDOK;
        PressDialogButton(dialog, id);
        return true;
    }
    case VK_ESCAPE:
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        return true;
    default:
        return false;
    }
}

} // namespace

HWND CreateDialogFromTemplate(const DialogTemplate& dialogTemplate, HWND owner,
                              WindowObject* object, LPARAM initParam)
{
    RegisterStandardControlClasses();
    const UINT dpi = GetDpiForWindow(owner);
    const HFONT font =
        CreateFontW(-MulDiv(dialogTemplate.fontPoints, static_cast<int>(dpi), 72), 0, 0, 0,
                    FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, dialogTemplate.fontFace.c_str());
    const SIZE units = MeasureBaseUnits(font);

    DWORD style = dialogTemplate.style & ~WS_VISIBLE;
    if ((style & WS_CHILD) == 0)
    {
        style |= WS_POPUP;
    }
    const RECT client = ToPixels(units, 0, 0, dialogTemplate.cx, dialogTemplate.cy);
    RECT frame = client;
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    // Decision: centred over the owner's top-level, else on the work area.
    RECT around = backend::CurrentBackend().WorkArea();
    const HWND ownerTop = owner != nullptr ? GetAncestorTopLevel(owner) : nullptr;
    if (ownerTop != nullptr)
    {
        GetWindowRect(ownerTop, &around);
    }
    const int x = around.left + (around.right - around.left - width) / 2;
    const int y = around.top + (around.bottom - around.top - height) / 2;

    const HWND dialog =
        object != nullptr
            ? CreateWindowWithObject(object, 0, kDialogClass, dialogTemplate.caption.c_str(), style,
                                     x, y, width, height, ownerTop, 0, nullptr)
            : CreateWindowExW(0, kDialogClass, dialogTemplate.caption.c_str(), style, x, y, width,
                              height, ownerTop, nullptr, nullptr, nullptr);
    if (dialog == nullptr)
    {
        DeleteObject(font);
        return nullptr;
    }
    DialogState& state = Dialogs().Of(dialog);
    state.font = font;
    state.baseUnits = units;

    for (const DialogControlTemplate& c : dialogTemplate.controls)
    {
        const RECT r = ToPixels(units, c.x, c.y, c.cx, c.cy);
        const HWND control = CreateWindowExW(
            0, StandardClassName(c.className.c_str()), c.text.c_str(), c.style | WS_CHILD, r.left,
            r.top, r.right - r.left, r.bottom - r.top, dialog,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(static_cast<WORD>(c.id))), nullptr,
            nullptr);
        if (control == nullptr)
        {
            DestroyWindow(dialog);
            return nullptr;
        }
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    if (const HWND def = FindFirstDefaultButton(dialog))
    {
        state.defaultId = GetDlgCtrlID(def);
    }

    const HWND firstFocus = GetNextDlgTabItem(dialog, nullptr, FALSE);
    const LRESULT wantsFocus =
        SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstFocus), initParam);
    if (!IsWindow(dialog))
    {
        return nullptr;
    }
    if (wantsFocus != FALSE)
    {
        SetDialogFocus(dialog, GetNextDlgTabItem(dialog, nullptr, FALSE));
    }
    if ((dialogTemplate.style & WS_VISIBLE) != 0)
    {
        ShowWindow(dialog, SW_SHOW);
    }
    return dialog;
}

INT_PTR RunModalDialog(HWND dialog, HWND owner)
{
    DialogState* state = Dialogs().Find(dialog);
    if (state == nullptr)
    {
        return -1;
    }
    state->modal = true;
    if (state->ended)
    {
        return state->result; // ended during WM_INITDIALOG
    }
    ShowWindow(dialog, SW_SHOW);
    backend::ModalRequest request;
    request.kind = backend::ModalKind::Dialog;
    request.owner = owner != nullptr ? GetAncestorTopLevel(owner) : nullptr;
    request.window = dialog;
    request.caption = WindowSystem::Instance().Find(dialog)->text;
    const INT_PTR result = RunModalLoop(request);
    if (DialogState* after = Dialogs().Find(dialog))
    {
        after->ended = true;
        after->result = result;
    }
    if (IsWindow(dialog))
    {
        ShowWindow(dialog, SW_HIDE);
    }
    return result;
}

SIZE DialogBaseUnits(HWND dialog)
{
    const DialogState* state = Dialogs().Find(dialog);
    return state != nullptr ? state->baseUnits : SIZE{0, 0};
}

void SetDialogFocus(HWND dialog, HWND control)
{
    if (control == nullptr)
    {
        SetFocus(dialog);
        return;
    }
    SetFocus(control);
    if ((DialogCodeOf(control, nullptr) & DLGC_HASSETSEL) != 0)
    {
        SendMessageW(control, EM_SETSEL, 0, -1);
    }
}

LRESULT DialogWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefDlgProcW(hwnd, msg, wParam, lParam);
}

} // namespace brvl::win32

using namespace brvl::win32;

LRESULT DefDlgProcW(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_ERASEBKGND:
    {
        RECT client{};
        GetClientRect(dialog, &client);
        const HDC dc = reinterpret_cast<HDC>(wParam);
        theme::FillSolid(dc, client, brvl::palette::kBackground);
        // Controls have no frame of their own: the 1 px WS_BORDER ring around
        // each one lies on the dialog's surface.
        for (HWND child : ChildWindows(dialog))
        {
            const DWORD style = GetWindowStyle(child);
            if ((style & (WS_BORDER | WS_VISIBLE)) == (WS_BORDER | WS_VISIBLE))
            {
                RECT r{};
                GetWindowRect(child, &r);
                MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
                theme::FrameSolid(dc, r, brvl::palette::kBorder);
            }
        }
        return TRUE;
    }
    case WM_CLOSE:
        // The close box is Cancel.
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        return 0;
    case WM_GETFONT:
    {
        const DialogState* state = Dialogs().Find(dialog);
        return state != nullptr ? reinterpret_cast<LRESULT>(state->font) : 0;
    }
    case DM_GETDEFID:
    {
        const DialogState* state = Dialogs().Find(dialog);
        return state != nullptr ? MAKELRESULT(static_cast<WORD>(state->defaultId), DC_HASDEFID) : 0;
    }
    case DM_SETDEFID:
        if (DialogState* state = Dialogs().Find(dialog))
        {
            state->defaultId = static_cast<int>(wParam);
            for (HWND child : ChildWindows(dialog))
            {
                InvalidateRect(child, nullptr, FALSE);
            }
        }
        return TRUE;
    case WM_INITDIALOG:
        return TRUE;
    case WM_DESTROY:
        // A modal dialog destroyed under its loop (its owner went away) ends
        // the loop as cancelled rather than leaving it waiting forever.
        if (DialogState* state = Dialogs().Find(dialog);
            state != nullptr && state->modal && !state->ended)
        {
            state->ended = true;
            state->result = IDCANCEL;
            EndModalLoop(dialog, IDCANCEL);
        }
        return 0;
    case WM_NCDESTROY:
        if (DialogState* state = Dialogs().Find(dialog))
        {
            DeleteObject(state->font);
            Dialogs().Drop(dialog);
        }
        return 0;
    default:
        return DefWindowProcW(dialog, msg, wParam, lParam);
    }
}

BOOL EndDialog(HWND dialog, INT_PTR result)
{
    DialogState* state = Dialogs().Find(dialog);
    if (state == nullptr)
    {
        return FALSE;
    }
    state->ended = true;
    state->result = result;
    if (state->modal)
    {
        EndModalLoop(dialog, result);
    }
    // A modeless dialog is only hidden: its window and object live on.
    ShowWindow(dialog, SW_HIDE);
    return TRUE;
}

BOOL IsDialogMessageW(HWND dialog, MSG* msg)
{
    if (msg == nullptr || !IsWindow(dialog) || !IsWindow(msg->hwnd) ||
        (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)))
    {
        return FALSE;
    }
    // Decision: only keyboard messages are the dialog manager's; everything
    // else is dispatched as usual.
    if (msg->message != WM_KEYDOWN && msg->message != WM_CHAR)
    {
        return FALSE;
    }
    const HWND control = msg->hwnd == dialog ? nullptr : ControlOf(dialog, msg->hwnd);
    const UINT code = msg->hwnd == dialog ? 0 : DialogCodeOf(msg->hwnd, msg);
    if ((code & DLGC_WANTMESSAGE) != 0)
    {
        return FALSE;
    }
    if (msg->message == WM_CHAR)
    {
        // The characters of the dialog keys never reach the controls.
        const auto ch = static_cast<wchar_t>(msg->wParam);
        if (ch == L'\t')
        {
            return (code & DLGC_WANTTAB) != 0 ? FALSE : TRUE;
        }
        return ch == L'\r' || ch == L'\n' || ch == 0x1B ? TRUE : FALSE;
    }
    return HandleDialogKey(dialog, msg, control, code) ? TRUE : FALSE;
}

BOOL MapDialogRect(HWND dialog, RECT* rect)
{
    const DialogState* state = Dialogs().Find(dialog);
    if (state == nullptr || rect == nullptr)
    {
        return FALSE;
    }
    const RECT r = rect->right >= rect->left && rect->bottom >= rect->top
                       ? ToPixels(state->baseUnits, rect->left, rect->top, rect->right - rect->left,
                                  rect->bottom - rect->top)
                       : RECT{MulDiv(rect->left, state->baseUnits.cx, 4),
                              MulDiv(rect->top, state->baseUnits.cy, 8),
                              MulDiv(rect->right, state->baseUnits.cx, 4),
                              MulDiv(rect->bottom, state->baseUnits.cy, 8)};
    *rect = r;
    return TRUE;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous)
{
    std::vector<HWND> children = ChildWindows(dialog);
    if (previous)
    {
        std::reverse(children.begin(), children.end());
    }
    if (children.empty())
    {
        return nullptr;
    }
    const HWND from = control != nullptr ? ControlOf(dialog, control) : nullptr;
    const auto at = std::find(children.begin(), children.end(), from);
    const size_t start =
        at == children.end() ? children.size() - 1 : static_cast<size_t>(at - children.begin());
    for (size_t step = 1; step <= children.size(); ++step)
    {
        const HWND candidate = children[(start + step) % children.size()];
        if (IsTabCandidate(candidate))
        {
            return CheckedRadioOfGroup(dialog, candidate);
        }
    }
    return nullptr;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous)
{
    std::vector<HWND> group = GroupOf(dialog, ControlOf(dialog, control));
    if (group.empty())
    {
        return nullptr;
    }
    if (previous)
    {
        std::reverse(group.begin(), group.end());
    }
    const auto at = std::find(group.begin(), group.end(), ControlOf(dialog, control));
    const size_t start = static_cast<size_t>(at - group.begin());
    for (size_t step = 1; step <= group.size(); ++step)
    {
        const HWND candidate = group[(start + step) % group.size()];
        if (IsUsable(candidate))
        {
            return candidate;
        }
    }
    return control;
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text)
{
    const HWND item = GetDlgItem(dialog, id);
    return item != nullptr ? SetWindowTextW(item, text) : FALSE;
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int count)
{
    const HWND item = GetDlgItem(dialog, id);
    if (item == nullptr)
    {
        if (buffer != nullptr && count > 0)
        {
            buffer[0] = L'\0';
        }
        return 0;
    }
    return static_cast<UINT>(GetWindowTextW(item, buffer, count));
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const HWND item = GetDlgItem(dialog, id);
    return item != nullptr ? SendMessageW(item, msg, wParam, lParam) : 0;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check)
{
    const HWND item = GetDlgItem(dialog, id);
    if (item == nullptr)
    {
        return FALSE;
    }
    SendMessageW(item, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id)
{
    return static_cast<UINT>(SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0));
}
