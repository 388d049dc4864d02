#include "controls/base/accent_shade.h"

#include <algorithm>

namespace
{

BYTE ScaledChannel(BYTE channel, double factor)
{
    return static_cast<BYTE>(std::clamp(static_cast<int>(channel * factor), 0, 255));
}

} // namespace

Gdiplus::Color AccentShade(COLORREF accent, BYTE alpha, double red, double green, double blue)
{
    return Gdiplus::Color(alpha, ScaledChannel(GetRValue(accent), red),
                          ScaledChannel(GetGValue(accent), green),
                          ScaledChannel(GetBValue(accent), blue));
}
