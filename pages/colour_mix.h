#pragma once

#include "platform/win32/win_types.h"

#include <algorithm>

// mix(c, x, t): channel by channel c (1 - t) + x t, in single precision,
// truncated to a whole channel and held to [0, 255]. The chain strip and the
// add-on browser derive every tint of their cards this way.
inline COLORREF MixColor(COLORREF colour, COLORREF toward, float t)
{
    const auto channel = [t](int from, int to)
    {
        const float mixed = float(from) * (1.0f - t) + float(to) * t;
        return std::clamp(int(mixed), 0, 255);
    };
    return RGB(channel(GetRValue(colour), GetRValue(toward)),
               channel(GetGValue(colour), GetGValue(toward)),
               channel(GetBValue(colour), GetBValue(toward)));
}

inline constexpr COLORREF kMixWhite = RGB(255, 255, 255);
