#include "engine/stages/dynamics_fingerprint.h"

#include "engine/dsp/band_split.h"
#include "engine/stages/stage3_dynamics.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr int kFingerprintBandCounts[] = {1, 3, 6};
constexpr int kMostBands = 8;

} // namespace

std::vector<DynamicsSet> DynamicsFingerprint(std::span<const double> mid, int sampleRate,
                                             double floor)
{
    std::vector<DynamicsSet> sets;
    for (const int bandCount : kFingerprintBandCounts)
    {
        DynamicsSet set;
        set.bandCount = bandCount;
        for (const std::vector<double>& band : SplitIntoBands(mid, sampleRate, bandCount))
        {
            set.bandRms.push_back(std::max(Rms(band), floor));
        }
        sets.push_back(std::move(set));
    }
    return sets;
}

bool IsUsableDynamicsSet(const DynamicsSet& set)
{
    return set.bandCount >= 1 && set.bandCount <= kMostBands &&
           set.bandRms.size() == static_cast<size_t>(set.bandCount) &&
           std::all_of(set.bandRms.begin(), set.bandRms.end(),
                       [](double rms) { return std::isfinite(rms) && rms > 0.0; });
}
