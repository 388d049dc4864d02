#pragma once

#include "controls/base/hsv_color.h"

#include <array>
#include <string_view>

// What the digit displays and the panel light show, apart from painting.

// One digit position of the seven-segment display.
struct DigitSlot
{
    wchar_t character = L' ';
    bool dot = false;
};

// The last four non-dot characters of `text`, right-aligned; a '.' lights
// the point of the character before it (one before any character is dropped).
std::array<DigitSlot, 4> SevenSegmentSlots(std::wstring_view text);

// Segment bits of a character: bit 0 is a, 1 b, ... 6 g. Characters without
// a figure (a blank, a letter) light none.
unsigned SevenSegmentsOf(wchar_t character);

// The last four of the blanks, '-' and digits in `text`, right-aligned in
// four tubes (' ' for an empty one).
std::array<wchar_t, 4> NixieTubes(std::wstring_view text);

// The panel light's colours from its accent at brightness `v` (0..1): the
// dark lens, the bright glow and the hot core.
struct PanelLightColors
{
    RgbBytes dark;
    RgbBytes bright;
    RgbBytes hot;
};
PanelLightColors PanelLightColorsOf(unsigned long accent, double v);
