#include "controls/knobs/knob_colors.h"

#include "controls/base/hsv_color.h"

#include <algorithm>
#include <cmath>

namespace
{

BYTE ScaledChannel(BYTE channel, double factor)
{
    return static_cast<BYTE>(std::min(std::lround(channel * factor), 255L));
}

} // namespace

Gdiplus::Color Brightened(COLORREF accent, BYTE alpha, double redFactor, double greenFactor,
                          double blueFactor)
{
    return Gdiplus::Color(alpha, ScaledChannel(GetRValue(accent), redFactor),
                          ScaledChannel(GetGValue(accent), greenFactor),
                          ScaledChannel(GetBValue(accent), blueFactor));
}

Gdiplus::Color GlowOf(COLORREF accent, BYTE alpha)
{
    return Brightened(accent, alpha, 1.12, 1.18, 1.25);
}

COLORREF HueTurned(COLORREF accent, double degrees)
{
    const HsvColor hsv = RgbToHsv(GetRValue(accent), GetGValue(accent), GetBValue(accent));
    const RgbBytes turned =
        HsvToRgb(std::fmod(hsv.hue + degrees + 360.0, 360.0), hsv.saturation, hsv.value);
    return RGB(turned.red, turned.green, turned.blue);
}
