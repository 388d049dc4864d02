#pragma once

#include <cstdint>

// The Win32 scalar types, handles and records the program is written against.
// Widths are Windows' own: LONG stays 32-bit although long is 64-bit here.

using BOOL = int;
// GLib defines the same two names as macros with the same values; whichever
// header comes first provides them.
#ifndef TRUE
constexpr BOOL TRUE = 1;
#endif
#ifndef FALSE
constexpr BOOL FALSE = 0;
#endif

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned;
using LONG = std::int32_t;
using INT = int;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;

using WPARAM = std::uintptr_t;
using UINT_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using ULONG_PTR = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using INT_PTR = std::intptr_t;
using LONG_PTR = std::intptr_t;

using WCHAR = wchar_t;
using TCHAR = wchar_t;
using LPWSTR = wchar_t*;
using LPTSTR = wchar_t*;
using LPCWSTR = const wchar_t*;
using LPCTSTR = const wchar_t*;
using LPVOID = void*;

using COLORREF = DWORD;

// Distinct opaque handle types, so passing one kind where another is expected
// fails to compile.
#define BRVL_DECLARE_HANDLE(name)                                                                  \
    struct name##__;                                                                               \
    using name = name##__*

BRVL_DECLARE_HANDLE(HWND);
BRVL_DECLARE_HANDLE(HDC);
BRVL_DECLARE_HANDLE(HBITMAP);
BRVL_DECLARE_HANDLE(HFONT);
BRVL_DECLARE_HANDLE(HBRUSH);
BRVL_DECLARE_HANDLE(HPEN);
BRVL_DECLARE_HANDLE(HCURSOR);
BRVL_DECLARE_HANDLE(HICON);
BRVL_DECLARE_HANDLE(HMENU);
BRVL_DECLARE_HANDLE(HACCEL);
BRVL_DECLARE_HANDLE(HINSTANCE);
BRVL_DECLARE_HANDLE(HDWP);
BRVL_DECLARE_HANDLE(HDROP);
BRVL_DECLARE_HANDLE(HRSRC);
BRVL_DECLARE_HANDLE(HGLOBAL);
BRVL_DECLARE_HANDLE(HWAVEOUT);
using HMODULE = HINSTANCE;
using HGDIOBJ = void*;

#undef BRVL_DECLARE_HANDLE

struct POINT
{
    LONG x;
    LONG y;
};

struct SIZE
{
    LONG cx;
    LONG cy;
};

struct RECT
{
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

using LPRECT = RECT*;
using LPCRECT = const RECT*;
using LPPOINT = POINT*;

struct CREATESTRUCTW
{
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCWSTR lpszName;
    LPCWSTR lpszClass;
    DWORD dwExStyle;
};
using CREATESTRUCT = CREATESTRUCTW;
using LPCREATESTRUCT = CREATESTRUCTW*;

struct MSG
{
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

// 16-bit halves. MAKELPARAM zero-extends the packed 32-bit value, so a packed
// point (-1, -1) is 0x00000000FFFFFFFF, never -1.
constexpr WORD LOWORD(std::uintptr_t v)
{
    return static_cast<WORD>(v & 0xFFFF);
}
constexpr WORD HIWORD(std::uintptr_t v)
{
    return static_cast<WORD>((v >> 16) & 0xFFFF);
}
constexpr DWORD MAKELONG(std::uintptr_t lo, std::uintptr_t hi)
{
    return static_cast<DWORD>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16));
}
constexpr WPARAM MAKEWPARAM(std::uintptr_t lo, std::uintptr_t hi)
{
    return MAKELONG(lo, hi);
}
constexpr LPARAM MAKELPARAM(std::uintptr_t lo, std::uintptr_t hi)
{
    return static_cast<LPARAM>(MAKELONG(lo, hi));
}
constexpr LRESULT MAKELRESULT(std::uintptr_t lo, std::uintptr_t hi)
{
    return static_cast<LRESULT>(MAKELONG(lo, hi));
}
constexpr int GET_X_LPARAM(LPARAM lp)
{
    return static_cast<short>(LOWORD(lp));
}
constexpr int GET_Y_LPARAM(LPARAM lp)
{
    return static_cast<short>(HIWORD(lp));
}
constexpr short GET_WHEEL_DELTA_WPARAM(WPARAM wp)
{
    return static_cast<short>(HIWORD(wp));
}
constexpr WORD GET_KEYSTATE_WPARAM(WPARAM wp)
{
    return LOWORD(wp);
}
constexpr int WHEEL_DELTA = 120;

constexpr COLORREF RGB(int r, int g, int b)
{
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr BYTE GetRValue(COLORREF c)
{
    return static_cast<BYTE>(c & 0xFF);
}
constexpr BYTE GetGValue(COLORREF c)
{
    return static_cast<BYTE>((c >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF c)
{
    return static_cast<BYTE>((c >> 16) & 0xFF);
}

// a * b / c in 64 bits, rounded half away from zero; -1 when c is 0.
int MulDiv(int a, int b, int c);

constexpr UINT MAX_PATH = 260;
