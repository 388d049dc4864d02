#pragma once

#include "platform/win32/win_types.h"

// The program's one dark look, by role: dialogs and standard controls, the
// frame with its bars and menus, and every custom-drawn control read their
// colours here (GDI+ painters through Gdiplus::ColorFromRef).
//
// Everything is a grey but the accent, an orange with two darker shades. It
// marks what the user has chosen, set or is pointing into: a check mark or
// radio dot, a slider's travelled part, the default button and the focused
// control's edge, the highlighted row of a list or menu and the title of the
// open menu, a lit status indicator, selected text.
namespace brvl::palette
{

// Surfaces, from the deepest.
constexpr COLORREF kControlSurface = RGB(12, 14, 16); // cleared behind every custom-drawn control
constexpr COLORREF kField = RGB(19, 20, 23);      // typed or drawn values: edits, lists, channels
constexpr COLORREF kBackground = RGB(30, 32, 36); // dialogs, the frame and its bars
constexpr COLORREF kPanel = RGB(37, 39, 43);      // menus over the background; a disabled face
constexpr COLORREF kPressed = RGB(38, 41, 46);    // a face held down
constexpr COLORREF kFace = RGB(50, 54, 61);       // raised: buttons, combo boxes, tooltips
constexpr COLORREF kHover = RGB(60, 65, 73);      // a face or bar item under the pointer; a thumb

// Lines.
constexpr COLORREF kSeparator = RGB(58, 61, 67); // bar edges, menu outlines, disabled borders
constexpr COLORREF kBorder = RGB(80, 86, 95);    // edges of enabled controls
constexpr COLORREF kBlackFrame = RGB(0, 0, 0);   // SS_BLACKFRAME, black by its name

// Text.
constexpr COLORREF kText = RGB(222, 224, 228);
constexpr COLORREF kDimText = RGB(112, 116, 124); // disabled text and marks

// The accent and its shades.
constexpr COLORREF kAccent = RGB(229, 132, 82);
constexpr COLORREF kSelection = RGB(140, 80, 48); // behind selected text
constexpr COLORREF kHighlight = RGB(72, 56, 48);  // a highlighted row; the open menu's title

} // namespace brvl::palette
