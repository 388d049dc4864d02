#pragma once

#include "platform/win32/gdi.h"
#include "platform/win32/win_types.h"

// What the frame's bars and menus share beyond the palette.
namespace brvl::mfc
{

// The bars' text: "Segoe UI" 9 pt, which is 12 px at 96 DPI.
constexpr wchar_t kBarFontFace[] = L"Segoe UI";
constexpr int kBarFontHeight96 = 12;

// The bars' text font at a DPI; kept for the process.
HFONT BarFont(UINT dpi);

} // namespace brvl::mfc
