#pragma once

#include "addons/kit/addon_base.h"

// A biased tanh at the drive's full gain, the right channel's bias of the
// opposite sign, so its curve is the left's mirrored through the origin.
class TransformerSaturation final : public AddonBase
{
public:
    TransformerSaturation();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
