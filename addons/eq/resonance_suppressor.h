#pragma once

#include "addons/kit/addon_base.h"
#include "addons/kit/dynamic_band_cut.h"

class ResonanceSuppressor final : public AddonBase
{
public:
    ResonanceSuppressor();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;

private:
    DynamicBandCutState m_cut;
};
