#pragma once

#include "platform/win32/win_types.h"

#include <string>

// The drawing steps the dialogs and standard controls share; their colours
// are the program's palette (platform/win32/palette.h).

namespace brvl::win32::theme
{

void FillSolid(HDC dc, const RECT& rect, COLORREF color);
void FrameSolid(HDC dc, const RECT& rect, COLORREF color, int thickness = 1);

// The font a control draws with: the one its dialog gave it (WM_SETFONT), else
// the dialog font.
HFONT ControlFont(HFONT assigned);

// Text in `rect` with DrawText `format` in `color` and `font`.
void DrawLabel(HDC dc, const std::wstring& text, RECT rect, UINT format, COLORREF color,
               HFONT font);

// Width and line height of `text` in `font`.
SIZE MeasureText(HFONT font, const std::wstring& text);

} // namespace brvl::win32::theme
