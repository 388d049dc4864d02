#include "addons/stereo/width_limiter.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/level_floor.h"
#include "addons/kit/mid_side.h"
#include "addons/kit/time_coefficient.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace
{

enum Param
{
    Amount,
    Threshold,
    ReleaseMs
};

constexpr AddonIdentity kIdentity{
    "width_limiter", "Width Limiter",
    "Restrains excess side energy so wide passages do not destabilize limiting.",
    "Best on overly wide mixes where the limiter reacts badly to side spikes.", ChainStereoImage};

constexpr std::array<AddonParamDef, 3> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.6, 0.01, ""},
    {"threshold", "Threshold", kAddonParamContinuous, 0.35, 1.25, 0.75, 0.01, ""},
    {"release_ms", "Release", kAddonParamContinuous, 10.0, 200.0, 80.0, 1.0, "ms"},
}};

} // namespace

WidthLimiter::WidthLimiter() : AddonBase(kIdentity, kTable)
{
}

// The side is held to threshold times the mid: a side that grows past it pulls
// the gain down at once, and the gain comes back with the release only.
void WidthLimiter::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    const double fs = context.sampleRate;
    if (a <= 0.0 || buffer.samples.size() < 2 || fs <= 0.0 || !IsWholeStereoBuffer(buffer))
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double release = TimeCoefficient(std::max(0.05, Value(ReleaseMs)), fs);
    const double threshold = std::max(0.05, Value(Threshold));
    const double floor = AddonLevelFloor(context);
    std::vector<double>& samples = buffer.samples;
    for (size_t i = 0; i + 1 < samples.size(); i += 2)
    {
        const double mid = MidOf(samples[i], samples[i + 1]);
        const double side = SideOf(samples[i], samples[i + 1]);
        const double ratio = std::fabs(side) / (std::fabs(mid) + floor);
        const double target = ratio <= threshold ? 1.0 : ClampToRange(threshold / ratio, 0.0, 1.0);
        m_sideGain = m_sideGain > target ? target : (1.0 - release) * target + release * m_sideGain;
        const double newSide = (1.0 - (1.0 - m_sideGain) * a) * side;
        samples[i] = mid + newSide;
        samples[i + 1] = mid - newSide;
    }
}
