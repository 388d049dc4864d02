#include "controls/base/accent_shade.h"

#include <algorithm>
#include <cmath>

namespace
{

BYTE ScaledChannel(BYTE channel, double factor)
{
    // Held before the cast: a factor of NaN or a huge one would not fit an int.
    const double scaled = std::trunc(channel * factor);
    return scaled > 0.0 ? static_cast<BYTE>(std::min(scaled, 255.0)) : BYTE(0);
}

} // namespace

Gdiplus::Color AccentShade(COLORREF accent, BYTE alpha, double red, double green, double blue)
{
    return Gdiplus::Color(alpha, ScaledChannel(GetRValue(accent), red),
                          ScaledChannel(GetGValue(accent), green),
                          ScaledChannel(GetBValue(accent), blue));
}
