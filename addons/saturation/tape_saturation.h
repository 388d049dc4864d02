#pragma once

#include "addons/kit/addon_base.h"

#include <vector>

// Soft tanh saturation followed by a one-pole tone low-pass, the driven level
// normalised so that full scale stays at full scale.
class TapeSaturation final : public AddonBase
{
public:
    TapeSaturation();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};

// The one-pole low-pass of a whole list, starting from 0, with its corner held
// between 200 Hz and 0.475 fs. A new list of the same length; all zeros at a
// rate of 0 or less.
std::vector<double> OnePoleLowpassVector(const std::vector<double>& values, double cornerHz,
                                         int sampleRate);
