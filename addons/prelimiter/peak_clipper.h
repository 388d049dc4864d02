#pragma once

#include "addons/kit/addon_base.h"

class PeakClipper final : public AddonBase
{
public:
    PeakClipper();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
