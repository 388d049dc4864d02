#pragma once

// What a backend hands to the window tree and reads from it. Raw input is
// queued (any thread) and routed by the tree in order with posted messages:
// hit testing, capture, double-clicks, leave tracking, cursor requests, focus.

#include "platform/win32/win_types.h"

#include <string>
#include <vector>

namespace brvl::win32
{

enum class MouseButton
{
    Left,
    Right,
    Middle,
};

// Modifier bits for raw input: MK_SHIFT and MK_CONTROL, plus this one for Alt.
constexpr UINT kModifierAlt = 0x8000;

void QueueMouseMove(POINT screen, UINT modifiers);
void QueueMouseButton(POINT screen, MouseButton button, bool down, UINT modifiers);
void QueueMouseWheel(POINT screen, int delta, UINT modifiers);
// `character` is what the key types (0 for none); it follows the key-down as WM_CHAR.
void QueueKey(UINT virtualKey, bool down, wchar_t character, UINT modifiers);
// Dropped files go to the deepest window under the point that accepts files,
// else its nearest accepting ancestor; nobody accepting refuses the drop.
void QueueDropFiles(POINT screen, std::vector<std::wstring> paths);
// The pointer left every top-level.
void QueuePointerLeft();

// One DPI for the whole process (decision), 96 until changed. A change sends
// WM_DPICHANGED (wParam MAKEWPARAM(dpi, dpi), lParam the suggested window RECT*)
// to each top-level and then to every descendant, parents first.
void ChangeDpi(UINT dpi);

// The system's settings (font, theme) changed: WM_SETTINGCHANGE to each top-level.
void BroadcastSettingChange();

// The standard cursor id (IDC_*) a cursor handle stands for; 0 for none.
UINT_PTR StandardCursorId(HCURSOR cursor);

} // namespace brvl::win32
