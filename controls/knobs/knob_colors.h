#pragma once

#include "platform/gdiplus/gdiplus_types.h"
#include "platform/win32/win_types.h"

// Shades of a knob's accent colour.

// The glow under a value arc: the accent lifted towards blue.
Gdiplus::Color GlowOf(COLORREF accent, BYTE alpha);

// The accent with its hue turned by `degrees` round the colour wheel
// (negative: backwards), saturation and value kept.
COLORREF HueTurned(COLORREF accent, double degrees);
