#pragma once

#include "addons/kit/addon_base.h"

// A biased tanh over the whole spectrum: odd harmonics at colour 0, even ones
// joining as the colour moves the operating point off centre.
class HarmonicEnhancer final : public AddonBase
{
public:
    HarmonicEnhancer();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
