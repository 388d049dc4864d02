// BUTTON: push and default push buttons, automatic check boxes and radio buttons.

#include "platform/gdiplus/gdiplus.h"
#include "platform/win32/control_messages.h"
#include "platform/win32/control_styles.h"
#include "platform/stdctrl/control_theme.h"
#include "platform/win32/palette.h"
#include "platform/win32/gdi.h"
#include "platform/win32/message_box.h"
#include "platform/stdctrl/standard_controls.h"
#include "platform/win32/win_geometry.h"
#include "platform/win32/window_system.h"

#include <algorithm>

namespace brvl::win32
{

namespace
{

struct ButtonState
{
    int check = BST_UNCHECKED;
    bool pressed = false;     // the mouse or Space holds it down
    bool mouseInside = false; // while the mouse holds it
    bool spaceDown = false;
    HFONT font = nullptr;
};

ControlStateTable<ButtonState>& Buttons()
{
    static ControlStateTable<ButtonState> table;
    return table;
}

DWORD KindOf(HWND hwnd)
{
    return GetWindowStyle(hwnd) & BS_TYPEMASK;
}

bool IsPushButton(DWORD kind)
{
    return kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON;
}

bool IsRadio(DWORD kind)
{
    return kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
}

// Asked by message, so that any window that answers like a push button
// (or a radio button) counts, whatever its style bits mean.
bool AnswersAs(HWND hwnd, UINT codes)
{
    return (static_cast<UINT>(SendMessageW(hwnd, WM_GETDLGCODE, 0, 0)) & codes) != 0;
}

// The push button that Enter presses now: the focused push button, else the
// dialog's default one.
bool ShowsAsDefault(HWND hwnd)
{
    const HWND focus = GetFocus();
    const HWND parent = GetParent(hwnd);
    if (focus != nullptr && GetParent(focus) == parent &&
        AnswersAs(focus, DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))
    {
        return focus == hwnd;
    }
    if (parent != nullptr)
    {
        const LRESULT def = SendMessageW(parent, DM_GETDEFID, 0, 0);
        if (HIWORD(static_cast<std::uintptr_t>(def)) == DC_HASDEFID)
        {
            return LOWORD(static_cast<std::uintptr_t>(def)) ==
                   static_cast<WORD>(GetDlgCtrlID(hwnd));
        }
    }
    return KindOf(hwnd) == BS_DEFPUSHBUTTON;
}

void UncheckGroupSiblings(HWND hwnd)
{
    const HWND parent = GetParent(hwnd);
    if (parent == nullptr)
    {
        return;
    }
    const std::vector<HWND> siblings = ChildWindows(parent);
    const auto at = std::find(siblings.begin(), siblings.end(), hwnd);
    if (at == siblings.end())
    {
        return;
    }
    auto first = at;
    while (first != siblings.begin() && (GetWindowStyle(*first) & WS_GROUP) == 0)
    {
        --first;
    }
    for (auto it = first; it != siblings.end(); ++it)
    {
        if (it != first && (GetWindowStyle(*it) & WS_GROUP) != 0)
        {
            break;
        }
        if (*it != hwnd && AnswersAs(*it, DLGC_RADIOBUTTON))
        {
            SendMessageW(*it, BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }
}

// A completed click: automatic kinds change their state first, then BN_CLICKED.
void Click(HWND hwnd)
{
    const DWORD kind = KindOf(hwnd);
    if (kind == BS_AUTOCHECKBOX)
    {
        const int check = static_cast<int>(SendMessageW(hwnd, BM_GETCHECK, 0, 0));
        SendMessageW(hwnd, BM_SETCHECK, check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
    }
    else if (kind == BS_AUTORADIOBUTTON)
    {
        SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
        UncheckGroupSiblings(hwnd);
    }
    NotifyParent(hwnd, BN_CLICKED);
}

void PaintPush(HDC dc, const RECT& client, const std::wstring& text, const ButtonState& s,
               bool enabled, bool isDefault, bool focused, HFONT font)
{
    const bool down = s.pressed && (s.mouseInside || s.spaceDown);
    theme::FillSolid(dc, client,
                     !enabled ? palette::kPanel
                     : down   ? palette::kPressed
                              : palette::kFace);
    theme::FrameSolid(dc, client,
                      !enabled    ? palette::kSeparator
                      : isDefault ? palette::kAccent
                                  : palette::kBorder,
                      isDefault && enabled ? 2 : 1);
    RECT label = client;
    if (down)
    {
        OffsetRect(&label, 1, 1);
    }
    theme::DrawLabel(dc, text, label, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                     enabled ? palette::kText : palette::kDimText, font);
    if (focused)
    {
        RECT ring{client.left + 3, client.top + 3, client.right - 3, client.bottom - 3};
        theme::FrameSolid(dc, ring, palette::kBorder);
    }
}

void PaintMark(HDC dc, const RECT& client, const std::wstring& text, const ButtonState& s,
               bool radio, bool enabled, bool focused, HFONT font)
{
    const int height = client.bottom - client.top;
    const int box = std::max(8, std::min(height - 2, 13));
    const RECT mark{client.left, client.top + (height - box) / 2, client.left + box,
                    client.top + (height - box) / 2 + box};
    const COLORREF edge = enabled ? palette::kBorder : palette::kSeparator;
    const COLORREF fill = enabled ? palette::kAccent : palette::kDimText;
    {
        Gdiplus::Graphics g(dc);
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        const Gdiplus::RectF r(Gdiplus::REAL(mark.left) + 0.5f, Gdiplus::REAL(mark.top) + 0.5f,
                               Gdiplus::REAL(box) - 1.0f, Gdiplus::REAL(box) - 1.0f);
        Gdiplus::SolidBrush field(
            Gdiplus::ColorFromRef(s.pressed ? palette::kPressed : palette::kField));
        Gdiplus::Pen border(Gdiplus::ColorFromRef(edge), 1.0f);
        Gdiplus::SolidBrush dot(Gdiplus::ColorFromRef(fill));
        Gdiplus::Pen tick(Gdiplus::ColorFromRef(fill), 2.0f);
        if (radio)
        {
            g.FillEllipse(&field, r);
            g.DrawEllipse(&border, r);
            if (s.check == BST_CHECKED)
            {
                const Gdiplus::REAL inset = Gdiplus::REAL(box) * 0.28f;
                g.FillEllipse(&dot, Gdiplus::RectF(r.X + inset, r.Y + inset, r.Width - 2 * inset,
                                                   r.Height - 2 * inset));
            }
        }
        else
        {
            g.FillRectangle(&field, r);
            g.DrawRectangle(&border, r);
            if (s.check == BST_CHECKED)
            {
                const Gdiplus::PointF points[] = {{r.X + r.Width * 0.2f, r.Y + r.Height * 0.52f},
                                                  {r.X + r.Width * 0.42f, r.Y + r.Height * 0.74f},
                                                  {r.X + r.Width * 0.8f, r.Y + r.Height * 0.28f}};
                g.DrawLines(&tick, points, 3);
            }
            else if (s.check == BST_INDETERMINATE)
            {
                g.FillRectangle(&dot,
                                Gdiplus::RectF(r.X + 3, r.Y + r.Height / 2 - 1, r.Width - 6, 2));
            }
        }
    }
    RECT label{mark.right + 4, client.top, client.right, client.bottom};
    theme::DrawLabel(dc, text, label, DT_LEFT | DT_VCENTER | DT_SINGLELINE,
                     enabled ? palette::kText : palette::kDimText, font);
    if (focused)
    {
        const SIZE size = theme::MeasureText(font, text);
        RECT ring{label.left - 2, client.top,
                  std::min<LONG>(label.left + size.cx + 2, client.right), client.bottom};
        theme::FrameSolid(dc, ring, palette::kBorder);
    }
}

void Paint(HWND hwnd)
{
    PAINTSTRUCT ps{};
    const HDC dc = BeginPaint(hwnd, &ps);
    if (dc != nullptr)
    {
        ButtonState& s = Buttons().Of(hwnd);
        RECT client{};
        GetClientRect(hwnd, &client);
        const WindowPtr w = WindowSystem::Instance().Find(hwnd);
        const std::wstring text = w ? w->text : std::wstring();
        const bool enabled = IsWindowEnabled(hwnd) != FALSE;
        const bool focused = GetFocus() == hwnd;
        const DWORD kind = KindOf(hwnd);
        if (IsPushButton(kind))
        {
            PaintPush(dc, client, text, s, enabled, ShowsAsDefault(hwnd), focused, s.font);
        }
        else
        {
            theme::FillSolid(dc, client, palette::kBackground);
            PaintMark(dc, client, text, s, IsRadio(kind), enabled, focused, s.font);
        }
    }
    EndPaint(hwnd, &ps);
}

void RepaintSiblingButtons(HWND hwnd)
{
    // The default look follows the focus between push buttons.
    if (const HWND parent = GetParent(hwnd))
    {
        for (HWND sibling : ChildWindows(parent))
        {
            if (sibling != hwnd && AnswersAs(sibling, DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))
            {
                InvalidateRect(sibling, nullptr, FALSE);
            }
        }
    }
    InvalidateRect(hwnd, nullptr, FALSE);
}

bool InsideClient(HWND hwnd, LPARAM lParam)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    return x >= client.left && x < client.right && y >= client.top && y < client.bottom;
}

} // namespace

LRESULT ButtonWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_GETDLGCODE:
    {
        const DWORD kind = KindOf(hwnd);
        if (IsPushButton(kind))
        {
            return DLGC_BUTTON |
                   (kind == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        }
        return DLGC_BUTTON | (IsRadio(kind) ? DLGC_RADIOBUTTON : 0);
    }
    case WM_SETTEXT:
    {
        const LRESULT r = DefWindowProcW(hwnd, msg, wParam, lParam);
        InvalidateRect(hwnd, nullptr, FALSE);
        return r;
    }
    case WM_ENABLE:
        Buttons().Of(hwnd).pressed = false;
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (msg == WM_KILLFOCUS)
        {
            ButtonState& s = Buttons().Of(hwnd);
            s.spaceDown = false;
            if (GetCapture() != hwnd)
            {
                s.pressed = false;
            }
        }
        RepaintSiblingButtons(hwnd);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    {
        ButtonState& s = Buttons().Of(hwnd);
        SetFocus(hwnd);
        if (!IsWindow(hwnd))
        {
            return 0;
        }
        SetCapture(hwnd);
        s.pressed = true;
        s.mouseInside = true;
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (GetCapture() == hwnd)
        {
            ButtonState& s = Buttons().Of(hwnd);
            const bool inside = InsideClient(hwnd, lParam);
            if (inside != s.mouseInside)
            {
                s.mouseInside = inside;
                InvalidateRect(hwnd, nullptr, FALSE);
            }
        }
        return 0;
    case WM_LBUTTONUP:
    {
        ButtonState& s = Buttons().Of(hwnd);
        const bool click = s.pressed && GetCapture() == hwnd && InsideClient(hwnd, lParam);
        s.pressed = false;
        if (GetCapture() == hwnd)
        {
            ReleaseCapture();
        }
        InvalidateRect(hwnd, nullptr, FALSE);
        if (click)
        {
            Click(hwnd);
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
    {
        // Losing the mouse never clicks.
        ButtonState& s = Buttons().Of(hwnd);
        if (!s.spaceDown)
        {
            s.pressed = false;
        }
        InvalidateRect(hwnd, nullptr, FALSE);
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE)
        {
            ButtonState& s = Buttons().Of(hwnd);
            s.spaceDown = true;
            s.pressed = true;
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE)
        {
            ButtonState& s = Buttons().Of(hwnd);
            const bool click = s.spaceDown;
            s.spaceDown = false;
            s.pressed = false;
            InvalidateRect(hwnd, nullptr, FALSE);
            if (click)
            {
                Click(hwnd);
            }
        }
        return 0;
    case BM_GETCHECK:
        return IsPushButton(KindOf(hwnd)) ? 0 : Buttons().Of(hwnd).check;
    case BM_SETCHECK:
    {
        ButtonState& s = Buttons().Of(hwnd);
        const DWORD kind = KindOf(hwnd);
        if (!IsPushButton(kind))
        {
            const int check = static_cast<int>(wParam);
            s.check = check == BST_CHECKED || check == BST_INDETERMINATE ? check : BST_UNCHECKED;
            if (IsRadio(kind) && s.check == BST_INDETERMINATE)
            {
                s.check = BST_CHECKED;
            }
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    }
    case BM_GETSTATE:
    {
        const ButtonState& s = Buttons().Of(hwnd);
        return static_cast<LRESULT>(static_cast<UINT>(s.check) | (s.pressed ? BST_PUSHED : 0u) |
                                    (GetFocus() == hwnd ? BST_FOCUS : 0u));
    }
    case BM_SETSTYLE:
    {
        const WindowPtr w = WindowSystem::Instance().Find(hwnd);
        if (w)
        {
            w->style = (w->style & ~BS_TYPEMASK) | (static_cast<DWORD>(wParam) & BS_TYPEMASK);
        }
        if (LOWORD(lParam) != 0)
        {
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    }
    case BM_CLICK:
        if (IsWindowEnabled(hwnd))
        {
            Click(hwnd);
        }
        return 0;
    default:
        return DefControlProc(Buttons(), &Paint, hwnd, msg, wParam, lParam);
    }
}

} // namespace brvl::win32
