#pragma once

#include "platform/win32/win_types.h"

// The records and flags of the file open/save dialog and the colour chooser,
// with their Win32 values; the backends read the flags a request carries.

constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_EXPLORER = 0x00080000;

struct OPENFILENAMEW
{
    DWORD lStructSize = sizeof(OPENFILENAMEW);
    HWND hwndOwner = nullptr;
    LPCWSTR lpstrFilter = nullptr;
    LPWSTR lpstrFile = nullptr;
    DWORD nMaxFile = 0;
    LPCWSTR lpstrInitialDir = nullptr;
    LPCWSTR lpstrTitle = nullptr;
    DWORD Flags = 0;
    LPCWSTR lpstrDefExt = nullptr;
};

constexpr DWORD CC_RGBINIT = 0x00000001;
constexpr DWORD CC_FULLOPEN = 0x00000002;

struct CHOOSECOLORW
{
    DWORD lStructSize = sizeof(CHOOSECOLORW);
    HWND hwndOwner = nullptr;
    COLORREF rgbResult = 0;
    DWORD Flags = 0;
};
