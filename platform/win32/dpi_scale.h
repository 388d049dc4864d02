#pragma once

#include "platform/win32/win_types.h"

// Lengths of the user interface are designed at 96 DPI (100 %) and named with
// the suffix 96 (`kBarHeight96`); these turn them into pixels at a DPI.
namespace brvl::win32
{

// The DPI at which a length equals its pixels (USER_DEFAULT_SCREEN_DPI).
constexpr UINT kDesignDpi = 96;

// `length96` at `dpi`, rounded half away from zero.
int ScaleForDpi(int length96, UINT dpi);

// `length96` at the DPI `hwnd` is shown at.
int ScaleForWindow(int length96, HWND hwnd);

} // namespace brvl::win32
