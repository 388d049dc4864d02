#pragma once

#include "platform/win32/gdi.h"
#include "platform/win32/win_types.h"

// What the frame's bars and menus share beyond the palette.
namespace brvl::mfc
{

// The bars' text font at a DPI ("Segoe UI" 9 pt); kept for the process.
HFONT BarFont(UINT dpi);

} // namespace brvl::mfc
