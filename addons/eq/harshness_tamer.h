#pragma once

#include "addons/kit/addon_base.h"
#include "addons/kit/dynamic_band_cut.h"

class HarshnessTamer final : public AddonBase
{
public:
    HarshnessTamer();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;

private:
    DynamicBandCutState m_cut;
};
