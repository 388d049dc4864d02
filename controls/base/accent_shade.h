#pragma once

#include "platform/gdiplus/gdiplus.h"

// How a scaled channel becomes a whole value again.
enum class ChannelRounding
{
    Truncate,
    Round, // halves away from zero
};

// A lit or shaded variant of a control's accent: each channel scaled by its
// factor, made whole and held to [0, 255], with an alpha of the caller's own.
Gdiplus::Color AccentShade(COLORREF accent, BYTE alpha, double red, double green, double blue,
                           ChannelRounding rounding = ChannelRounding::Truncate);

// The same factor on all three channels.
inline Gdiplus::Color AccentShade(COLORREF accent, BYTE alpha, double factor,
                                  ChannelRounding rounding = ChannelRounding::Truncate)
{
    return AccentShade(accent, alpha, factor, factor, factor, rounding);
}
