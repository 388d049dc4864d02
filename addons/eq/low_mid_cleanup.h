#pragma once

#include "addons/kit/addon_base.h"
#include "addons/kit/state_variable_filter.h"

#include <array>

class LowMidCleanup final : public AddonBase
{
public:
    LowMidCleanup();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;

private:
    std::array<StateVariableState, 2> m_bellStates{}; // left, right
};
