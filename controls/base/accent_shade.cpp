#include "controls/base/accent_shade.h"

#include <algorithm>
#include <cmath>

namespace
{

BYTE ScaledChannel(BYTE channel, double factor, ChannelRounding rounding)
{
    const double scaled = channel * factor;
    const double whole =
        rounding == ChannelRounding::Round ? std::round(scaled) : std::trunc(scaled);
    // Held before the cast: a factor of NaN or a huge one would not fit an int.
    return whole > 0.0 ? static_cast<BYTE>(std::min(whole, 255.0)) : BYTE(0);
}

} // namespace

Gdiplus::Color AccentShade(COLORREF accent, BYTE alpha, double red, double green, double blue,
                           ChannelRounding rounding)
{
    return Gdiplus::Color(alpha, ScaledChannel(GetRValue(accent), red, rounding),
                          ScaledChannel(GetGValue(accent), green, rounding),
                          ScaledChannel(GetBValue(accent), blue, rounding));
}
