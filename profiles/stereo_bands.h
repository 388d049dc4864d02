#pragma once

#include "platform/win32/win_types.h"

#include <array>
#include <span>

// The six frequency bands in which the profile pages show stereo width. The
// lower edge belongs to the band, the upper edge does not; bins at or above
// 16 kHz lie in no band.
struct StereoBand
{
    const wchar_t* name;
    double fromHz;
    double toHz;
    COLORREF baseColor;
};

inline constexpr std::size_t kStereoBandCount = 6;

inline constexpr std::array<StereoBand, kStereoBandCount> kStereoBands = {{
    {L"Sub", 20.0, 60.0, RGB(0x58, 0x8E, 0xEC)},
    {L"Bass", 60.0, 140.0, RGB(0x54, 0xB6, 0xDC)},
    {L"Low Mid", 140.0, 400.0, RGB(0x70, 0xC4, 0x9A)},
    {L"Mid", 400.0, 1500.0, RGB(0xD6, 0xBA, 0x60)},
    {L"Presence", 1500.0, 5000.0, RGB(0xE8, 0x9A, 0x5C)},
    {L"Air", 5000.0, 16000.0, RGB(0xE6, 0x7A, 0x70)},
}};

// The stereo width of each band, 0..1, from mid and side spectra in dB per bin:
// the mean over the band's bins (from bin 1; bin 0 never counts) of the
// logistic 1 / (1 + exp(-(side - mid + 6) / 6)), which reads 0.5 with the side
// 6 dB below the mid and about 0.73 at equal levels. Only the bins both spectra
// hold count; a bin whose logistic is not a number (a NaN level, or +inf in
// both) is left out. A band without bins is 0, and all six are 0 when fewer
// than two bins are common. A sample rate below 1 reads as 44100 Hz, an FFT
// size below 1 as max(2n - 2, 2) for n common bins.
std::array<double, kStereoBandCount> StereoBandWidths(int sampleRate, int fftSize,
                                                      std::span<const double> midDb,
                                                      std::span<const double> sideDb);
