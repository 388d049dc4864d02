#pragma once

#include "addons/kit/addon_base.h"
#include "addons/kit/state_variable_filter.h"

class CenterFocus final : public AddonBase
{
public:
    CenterFocus();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;

private:
    StateVariableState m_midState;
    StateVariableState m_sideState;
};
