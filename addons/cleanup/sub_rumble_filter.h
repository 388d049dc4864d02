#pragma once

#include "addons/kit/addon_base.h"
#include "addons/kit/state_variable_filter.h"

#include <array>

class SubRumbleFilter final : public AddonBase
{
public:
    SubRumbleFilter();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;

private:
    std::array<StateVariableState, 2> m_states{}; // left, right
};
