#pragma once

#include "addons/kit/addon_base.h"

// Rebuilds clipped peaks in each channel on its own by repeated band-limited,
// peak-limited resynthesis of the samples around each clip
// (addons/spectral/declip_pass.h).
class SpectralDeclip final : public AddonBase
{
public:
    SpectralDeclip();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
