#pragma once

#include "platform/win32/win_types.h"

// Hue, saturation and value, for deriving shades of a control's accent.
struct HsvColor
{
    double hue = 0.0;        // degrees, 0 to 360
    double saturation = 0.0; // 0 to 1
    double value = 0.0;      // 0 to 1
};

struct RgbBytes
{
    BYTE red = 0;
    BYTE green = 0;
    BYTE blue = 0;
};

HsvColor RgbToHsv(BYTE red, BYTE green, BYTE blue);
// Channels are clamped to 0..255 and truncated; a negative hue gives black.
RgbBytes HsvToRgb(double hue, double saturation, double value);
