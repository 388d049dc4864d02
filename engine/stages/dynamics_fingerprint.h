#pragma once

#include "engine/profiles/reference_profile.h"

#include <span>
#include <vector>

// The dynamics fingerprint of a reference: for 1, 3 and 6 bands, the RMS of
// each band of its mid signal (split with SplitIntoBands), floored at `floor`.
std::vector<DynamicsSet> DynamicsFingerprint(std::span<const double> mid, int sampleRate,
                                             double floor);

// A set a run may use: 1 to 8 bands, one finite positive RMS per band.
bool IsUsableDynamicsSet(const DynamicsSet& set);
