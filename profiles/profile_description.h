#pragma once

#include "engine/profiles/reference_profile.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// A one-line English description of a profile's character, built from fixed
// phrases chosen by thresholds: "<tonal>. <stereo>. <loudness>." Each phrase
// group takes its first matching row; a measure that is not a number matches
// no threshold and falls through to the group's last row.
std::wstring DescribeProfile(const ReferenceProfile& profile);

// "<low end>, <top>, <upper mids>" from the mid spectrum's band means;
// "balanced tonal profile" for an empty mid spectrum.
std::wstring DescribeTonalBalance(const ReferenceProfile& profile);

// The mean side level minus the mean mid level (dB) over the bins from lowHz up
// to highHz (excluded), or to the end of the mid spectrum when highHz <= 0; each
// spectrum is averaged over the bins it holds. 0 when either spectrum is empty.
double SideMinusMidDb(const ReferenceProfile& profile, double lowHz, double highHz);

// floor(frequencyHz * fftSize / sampleRate), limited to 0..4294967295 so that
// the header of a damaged profile cannot push it beyond the type; 0 when the
// rate or the FFT size is not positive.
std::uint32_t FrequencyToBin(const ReferenceProfile& profile, double frequencyHz);

// The mean of values[first] up to values[min(end, size) - 1]; 0 when that range
// is empty.
double MeanOfRange(std::span<const double> values, std::size_t first, std::size_t end);
