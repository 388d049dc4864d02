#include "controls/displays/display_text.h"

#include "platform/win32/win_types.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr unsigned kA = 1, kB = 2, kC = 4, kD = 8, kE = 16, kF = 32, kG = 64;

BYTE Bright(BYTE channel)
{
    return static_cast<BYTE>(std::min(255, channel + 44));
}

} // namespace

std::array<DigitSlot, 4> SevenSegmentSlots(std::wstring_view text)
{
    std::array<DigitSlot, 4> slots{};
    int filled = 0;
    for (const wchar_t ch : text)
    {
        if (ch == L'.')
        {
            if (filled > 0)
            {
                slots[filled - 1].dot = true;
            }
            continue;
        }
        if (filled == 4)
        {
            std::rotate(slots.begin(), slots.begin() + 1, slots.end());
            filled = 3;
        }
        slots[filled++] = {ch, false};
    }
    // Right alignment: the unfilled positions go in front.
    std::rotate(slots.begin(), slots.begin() + filled, slots.end());
    for (int i = 0; i < 4 - filled; ++i)
    {
        slots[i] = {};
    }
    return slots;
}

unsigned SevenSegmentsOf(wchar_t character)
{
    switch (character)
    {
    case L'0':
        return kA | kB | kC | kD | kE | kF;
    case L'1':
        return kB | kC;
    case L'2':
        return kA | kB | kD | kE | kG;
    case L'3':
        return kA | kB | kC | kD | kG;
    case L'4':
        return kB | kC | kF | kG;
    case L'5':
        return kA | kC | kD | kF | kG;
    case L'6':
        return kA | kC | kD | kE | kF | kG;
    case L'7':
        return kA | kB | kC;
    case L'8':
        return kA | kB | kC | kD | kE | kF | kG;
    case L'9':
        return kA | kB | kC | kD | kF | kG;
    case L'-':
        return kG;
    default:
        return 0;
    }
}

std::array<wchar_t, 4> NixieTubes(std::wstring_view text)
{
    std::array<wchar_t, 4> tubes{L' ', L' ', L' ', L' '};
    for (const wchar_t ch : text)
    {
        if (ch != L' ' && ch != L'-' && !(ch >= L'0' && ch <= L'9'))
        {
            continue;
        }
        std::rotate(tubes.begin(), tubes.begin() + 1, tubes.end());
        tubes[3] = ch;
    }
    return tubes;
}

PanelLightColors PanelLightColorsOf(unsigned long accent, double v)
{
    const BYTE channels[] = {GetRValue(COLORREF(accent)), GetGValue(COLORREF(accent)),
                             GetBValue(COLORREF(accent))};
    const double brightness = std::isnan(v) ? 0.0 : std::clamp(v, 0.0, 1.0);
    BYTE dark[3];
    BYTE bright[3];
    BYTE hot[3];
    for (int i = 0; i < 3; ++i)
    {
        dark[i] = static_cast<BYTE>(std::min(255.0, std::round(channels[i] * 0.16)));
        bright[i] = Bright(channels[i]);
        hot[i] = static_cast<BYTE>(
            std::min(255.0, bright[i] + std::trunc((255 - bright[i]) * 0.72 * brightness)));
    }
    return {
        {dark[0], dark[1], dark[2]}, {bright[0], bright[1], bright[2]}, {hot[0], hot[1], hot[2]}};
}
