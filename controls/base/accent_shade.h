#pragma once

#include "platform/gdiplus/gdiplus.h"

// A lit or shaded variant of a control's accent: each channel scaled by its
// factor, truncated and held to 255, with an alpha of the caller's own.
Gdiplus::Color AccentShade(COLORREF accent, BYTE alpha, double red, double green, double blue);

// The same factor on all three channels.
inline Gdiplus::Color AccentShade(COLORREF accent, BYTE alpha, double factor)
{
    return AccentShade(accent, alpha, factor, factor, factor);
}
