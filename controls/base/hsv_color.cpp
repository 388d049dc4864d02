#include "controls/base/hsv_color.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr double kTiny = 1e-10;

BYTE ToByte(double unit)
{
    const double scaled = unit * 255.0;
    return scaled > 0.0 ? static_cast<BYTE>(std::min(scaled, 255.0)) : 0; // NaN too
}

} // namespace

HsvColor RgbToHsv(BYTE red, BYTE green, BYTE blue)
{
    const double r = red / 255.0;
    const double g = green / 255.0;
    const double b = blue / 255.0;
    const double max = std::max({r, g, b});
    const double delta = max - std::min({r, g, b});

    HsvColor hsv;
    hsv.value = max;
    hsv.saturation = max > kTiny ? delta / max : 0.0;
    if (delta < kTiny)
    {
        return hsv; // a grey has no hue
    }
    double sector = 0.0;
    if (max == r)
    {
        sector = std::fmod((g - b) / delta, 6.0);
    }
    else if (max == g)
    {
        sector = (b - r) / delta + 2.0;
    }
    else
    {
        sector = (r - g) / delta + 4.0;
    }
    hsv.hue = 60.0 * sector;
    if (hsv.hue < 0)
    {
        hsv.hue += 360.0;
    }
    return hsv;
}

RgbBytes HsvToRgb(double hue, double saturation, double value)
{
    const double c = value * saturation;
    const double h = hue / 60.0;
    const double x = c * (1.0 - std::fabs(std::fmod(h, 2.0) - 1.0));
    const double m = value - c;

    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
    // The integer part, remainder kept with its sign: 360 degrees is red again.
    switch (std::isfinite(h) ? static_cast<int>(std::fmod(std::trunc(h), 6.0)) : -1)
    {
    case 0:
        r = c, g = x;
        break;
    case 1:
        r = x, g = c;
        break;
    case 2:
        g = c, b = x;
        break;
    case 3:
        g = x, b = c;
        break;
    case 4:
        r = x, b = c;
        break;
    case 5:
        r = c, b = x;
        break;
    default:
        return {}; // a negative hue
    }
    return {ToByte(r + m), ToByte(g + m), ToByte(b + m)};
}
