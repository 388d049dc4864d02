#include "controls/knobs/knob_colors.h"

#include "controls/base/accent_shade.h"
#include "controls/base/hsv_color.h"

#include <algorithm>
#include <cmath>

Gdiplus::Color GlowOf(COLORREF accent, BYTE alpha)
{
    return AccentShade(accent, alpha, 1.12, 1.18, 1.25, ChannelRounding::Round);
}

COLORREF HueTurned(COLORREF accent, double degrees)
{
    const HsvColor hsv = RgbToHsv(GetRValue(accent), GetGValue(accent), GetBValue(accent));
    const RgbBytes turned =
        HsvToRgb(std::fmod(hsv.hue + degrees + 360.0, 360.0), hsv.saturation, hsv.value);
    return RGB(turned.red, turned.green, turned.blue);
}
