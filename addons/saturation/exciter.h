#pragma once

#include "addons/kit/addon_base.h"

#include <array>

// Saturates only what lies above the focus frequency and adds it to the dry
// signal: brightness from harmonics of the upper band alone.
class Exciter final : public AddonBase
{
public:
    Exciter();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;

private:
    // The one-pole low-passes of left and right, kept from one call to the next.
    std::array<double, 2> m_lowState{};
};
