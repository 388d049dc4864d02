#pragma once

#include "platform/gdiplus/gdiplus_types.h"
#include "platform/win32/win_types.h"

// Shades of a knob's accent colour.

// The accent with each channel scaled by its factor, rounded (halves away
// from zero) and held to 255, at `alpha`.
Gdiplus::Color Brightened(COLORREF accent, BYTE alpha, double redFactor, double greenFactor,
                          double blueFactor);

// The glow under a value arc: the accent lifted towards blue.
Gdiplus::Color GlowOf(COLORREF accent, BYTE alpha);

// The accent with its hue turned by `degrees` round the colour wheel
// (negative: backwards), saturation and value kept.
COLORREF HueTurned(COLORREF accent, double degrees);
