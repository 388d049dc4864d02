#pragma once

#include "platform/win32/win_types.h"

#include <optional>

// Accelerator tables (resources/accelerator/<id>.json) and the key state that
// translation reads.

constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

struct ACCEL
{
    BYTE fVirt;
    WORD key;
    WORD cmd;
};

// NULL when there is no such table or it cannot be read.
HACCEL LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name);
BOOL DestroyAcceleratorTable(HACCEL table);
// A key-down (WM_KEYDOWN or WM_SYSKEYDOWN) matching an entry sends WM_COMMAND
// MAKEWPARAM(cmd, 1) to `hwnd` and returns TRUE.
int TranslateAcceleratorW(HWND hwnd, HACCEL table, MSG* msg);

// High bit set while the key is down (shift, control and menu keys); the low
// "toggled" bit of the lock keys is never set here.
SHORT GetKeyState(int virtualKey);

#define LoadAccelerators LoadAcceleratorsW
#define TranslateAccelerator TranslateAcceleratorW

namespace brvl::win32
{

// The command a key-down message stands for in `table`, without sending it.
std::optional<WORD> FindAcceleratorCommand(HACCEL table, const MSG& msg);

} // namespace brvl::win32
