#pragma once

#include "addons/kit/addon_base.h"
#include "addons/kit/state_variable_filter.h"

#include <array>

class PresenceLift final : public AddonBase
{
public:
    PresenceLift();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;

private:
    std::array<StateVariableState, 2> m_bellStates{}; // left, right
};
