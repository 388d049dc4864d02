#pragma once

#include "platform/win32/window_api.h"

#include <memory>
#include <unordered_map>

// The standard controls of dialogs as window classes of the tree: each class
// procedure is the control's whole behaviour, so a framework object that
// subclasses one (DDX_Control) still gets it as default processing.

namespace brvl::win32
{

inline constexpr wchar_t kButtonClass[] = L"BUTTON";
inline constexpr wchar_t kEditClass[] = L"EDIT";
inline constexpr wchar_t kStaticClass[] = L"STATIC";
inline constexpr wchar_t kComboBoxClass[] = L"COMBOBOX";
inline constexpr wchar_t kComboListClass[] = L"ComboLBox";
inline constexpr wchar_t kTrackbarClass[] = L"msctls_trackbar32";
inline constexpr wchar_t kTooltipClass[] = L"tooltips_class32";
inline constexpr wchar_t kDialogClass[] = L"#32770";

// Registers every standard class once (idempotent); creating a dialog or a
// control wrapper calls it.
void RegisterStandardControlClasses();

// The registered spelling of a class name given in any letter case, or the
// name unchanged when it is not a standard class.
const wchar_t* StandardClassName(const wchar_t* name);

LRESULT ButtonWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT EditWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT StaticWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT ComboBoxWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT ComboListWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT TrackbarWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT TooltipWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT DialogWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// WM_COMMAND (MAKEWPARAM(id, code), control) to the control's parent.
void NotifyParent(HWND control, WORD code);

// Per-window state of a control, made on first use and dropped at WM_NCDESTROY.
template <typename State> class ControlStateTable
{
public:
    State& Of(HWND hwnd)
    {
        auto& slot = m_states[hwnd];
        if (!slot)
        {
            slot = std::make_unique<State>();
        }
        return *slot;
    }
    State* Find(HWND hwnd)
    {
        const auto it = m_states.find(hwnd);
        return it != m_states.end() ? it->second.get() : nullptr;
    }
    void Drop(HWND hwnd) { m_states.erase(hwnd); }
    template <typename Visit> void ForEach(Visit visit)
    {
        for (auto& [hwnd, state] : m_states)
        {
            visit(hwnd, *state);
        }
    }

private:
    std::unordered_map<HWND, std::unique_ptr<State>> m_states;
};

// The default processing of a standard control, for what its own procedure
// does not handle: the messages every control answers alike, then
// DefWindowProc. WM_PAINT paints through `paint`; WM_ERASEBKGND erases nothing
// (the paint covers the client area); a control whose state keeps a `font`
// answers WM_SETFONT (redrawing when asked) and WM_GETFONT from it;
// WM_NCDESTROY drops the state.
template <typename State>
LRESULT DefControlProc(ControlStateTable<State>& states, void (*paint)(HWND), HWND hwnd, UINT msg,
                       WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_PAINT:
        paint(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_NCDESTROY:
        states.Drop(hwnd);
        return 0;
    default:
        break;
    }
    if constexpr (requires { &State::font; })
    {
        if (msg == WM_SETFONT)
        {
            states.Of(hwnd).font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam) != 0)
            {
                InvalidateRect(hwnd, nullptr, FALSE);
            }
            return 0;
        }
        if (msg == WM_GETFONT)
        {
            return reinterpret_cast<LRESULT>(states.Of(hwnd).font);
        }
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace brvl::win32
