#pragma once

#include "platform/win32/win_types.h"

#include <string>

// The quiet dark look of the dialogs and standard controls, matched to the
// program's own dark surfaces, and the drawing steps they share.

namespace brvl::win32::theme
{

constexpr COLORREF kDialogBackground = RGB(30, 32, 36);
constexpr COLORREF kText = RGB(222, 224, 228);
constexpr COLORREF kDisabledText = RGB(112, 116, 124);
constexpr COLORREF kFace = RGB(50, 54, 61);
constexpr COLORREF kFaceHover = RGB(60, 65, 73);
constexpr COLORREF kFacePressed = RGB(38, 41, 46);
constexpr COLORREF kFaceDisabled = RGB(40, 42, 47);
constexpr COLORREF kBorder = RGB(80, 86, 95);
constexpr COLORREF kBorderDisabled = RGB(58, 61, 67);
constexpr COLORREF kAccent = RGB(229, 132, 82);
constexpr COLORREF kFieldBackground = RGB(19, 20, 23);
constexpr COLORREF kSelection = RGB(140, 80, 48);
constexpr COLORREF kHighlightRow = RGB(72, 56, 48);
constexpr COLORREF kFrame = RGB(0, 0, 0);

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
