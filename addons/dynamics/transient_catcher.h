#pragma once

#include "addons/kit/addon_base.h"

class TransientCatcher final : public AddonBase
{
public:
    TransientCatcher();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;

private:
    // The two peak followers and the running gain, kept from one call to the
    // next.
    double fastEnvelope = 0.0;
    double slowEnvelope = 0.0;
    double gain = 1.0;
};
