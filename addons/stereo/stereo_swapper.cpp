#include "addons/stereo/stereo_swapper.h"

#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"

#include <array>
#include <utility>

namespace
{

enum Param
{
    SwapChannels
};

constexpr AddonIdentity kIdentity{
    "stereo_swapper", "Stereo Swapper",
    "Swaps left and right channels for obvious stereo routing checks.",
    "Use when you want a clear left-right inversion to verify stereo add-on processing.",
    ChainStereoImage};

constexpr std::array<AddonParamDef, 1> kTable{{
    {"swap_channels", "Swap", kAddonParamToggle, 0.0, 1.0, 1.0, 1.0, ""},
}};

} // namespace

StereoSwapper::StereoSwapper() : AddonBase(kIdentity, kTable)
{
}

void StereoSwapper::process(AudioBuffer& buffer, const ProcessContext&)
{
    if (!IsOn(SwapChannels) || !IsWholeStereoBuffer(buffer))
    {
        return;
    }
    const ScopedDenormalFlush flush;
    std::vector<double>& samples = buffer.samples;
    for (size_t i = 0; i + 1 < samples.size(); i += 2)
    {
        std::swap(samples[i], samples[i + 1]);
    }
}
