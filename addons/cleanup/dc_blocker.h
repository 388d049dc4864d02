#pragma once

#include "addons/kit/addon_base.h"

#include <array>

class DCBlocker final : public AddonBase
{
public:
    DCBlocker();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;

private:
    std::array<double, 2> m_previousInput{};  // left, right
    std::array<double, 2> m_previousOutput{}; // left, right
};
