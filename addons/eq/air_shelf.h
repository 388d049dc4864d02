#pragma once

#include "addons/kit/addon_base.h"

#include <array>

class AirShelf final : public AddonBase
{
public:
    AirShelf();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;

private:
    std::array<double, 2> m_lowState{}; // the one-pole low-passes of left and right
};
