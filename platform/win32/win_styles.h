#pragma once

#include "platform/win32/win_types.h"

// Window and class styles, show commands and positioning flags (Win32 values).

constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW = 0x00CF0000;
constexpr DWORD DS_MODALFRAME = 0x80;
constexpr DWORD SS_NOTIFY = 0x00000100;

constexpr DWORD WS_EX_ACCEPTFILES = 0x00000010;

constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;

constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_SHOWNA = 8;

constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;

inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_BOTTOM = reinterpret_cast<HWND>(1);

constexpr UINT RDW_INVALIDATE = 0x0001;
constexpr UINT RDW_ERASE = 0x0004;
constexpr UINT RDW_ALLCHILDREN = 0x0080;
constexpr UINT RDW_UPDATENOW = 0x0100;

// Standard cursor ids (LoadCursor with a null instance).
constexpr UINT_PTR IDC_ARROW_ID = 32512;
constexpr UINT_PTR IDC_WAIT_ID = 32514;
constexpr UINT_PTR IDC_SIZEWE_ID = 32644;
constexpr UINT_PTR IDC_SIZENS_ID = 32645;
constexpr UINT_PTR IDC_HAND_ID = 32649;
#define MAKEINTRESOURCEW(id) (reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(id)))
#define IDC_ARROW MAKEINTRESOURCEW(IDC_ARROW_ID)
#define IDC_WAIT MAKEINTRESOURCEW(IDC_WAIT_ID)
#define IDC_SIZEWE MAKEINTRESOURCEW(IDC_SIZEWE_ID)
#define IDC_SIZENS MAKEINTRESOURCEW(IDC_SIZENS_ID)
#define IDC_HAND MAKEINTRESOURCEW(IDC_HAND_ID)

// Stock objects used for window classes.
constexpr int NULL_BRUSH = 5;
