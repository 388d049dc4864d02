#pragma once

#include "addons/kit/addon_base.h"
#include "addons/kit/state_variable_filter.h"

#include <array>

class LowEndPunch final : public AddonBase
{
public:
    LowEndPunch();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;

private:
    std::array<StateVariableState, 2> m_boostStates{}; // left, right
    std::array<StateVariableState, 2> m_cutStates{};   // left, right
};
