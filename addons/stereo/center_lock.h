#pragma once

#include "addons/kit/addon_base.h"

class CenterLock final : public AddonBase
{
public:
    CenterLock();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;

private:
    double m_sideLow = 0.0; // the one-pole state of the side
};
