#pragma once

#include "platform/win32/gdi.h"
#include "platform/win32/win_types.h"

// The quiet dark colours of the frame's bars and menus (the program is dark).
namespace brvl::mfc
{

constexpr COLORREF kBarBackground = RGB(0x1E, 0x20, 0x23);
constexpr COLORREF kBarBorder = RGB(0x33, 0x36, 0x3B);
constexpr COLORREF kBarText = RGB(0xD4, 0xD7, 0xDC);
constexpr COLORREF kBarTextDisabled = RGB(0x6A, 0x6E, 0x75);
constexpr COLORREF kBarHot = RGB(0x34, 0x39, 0x41);
constexpr COLORREF kBarPressed = RGB(0x2A, 0x4A, 0x6A);
constexpr COLORREF kMenuBackground = RGB(0x25, 0x27, 0x2B);
constexpr COLORREF kMenuSelection = RGB(0x2F, 0x4F, 0x72);
constexpr COLORREF kIndicatorLit = RGB(0x8F, 0xC3, 0xF0);

// The bars' text font at a DPI ("Segoe UI" 9 pt); kept for the process.
HFONT BarFont(UINT dpi);

} // namespace brvl::mfc
