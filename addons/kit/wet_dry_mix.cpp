#include "addons/kit/wet_dry_mix.h"

#include "addons/kit/clamp_range.h"

#include <algorithm>

void MixWetDry(std::span<double> wetToOut, std::span<const double> dry, double mix)
{
    const double m = ClampToRange(mix, 0.0, 1.0);
    const size_t count = std::min(wetToOut.size(), dry.size());
    for (size_t i = 0; i < count; ++i)
    {
        wetToOut[i] = MixWetDry(wetToOut[i], dry[i], m);
    }
}
