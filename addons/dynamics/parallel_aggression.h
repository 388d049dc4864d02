#pragma once

#include "addons/kit/addon_base.h"

class ParallelAggression final : public AddonBase
{
public:
    ParallelAggression();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;

private:
    // The level follower, kept from one call to the next.
    double envelope = 0.0;
};
