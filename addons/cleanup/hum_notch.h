#pragma once

#include "addons/kit/addon_base.h"
#include "addons/kit/biquad.h"

#include <array>

// Mains hum sits at 50 or 60 Hz, so the base frequency is stored as one of
// the two: below 55 Hz as 50, otherwise as 60.
class HumNotch final : public AddonBase
{
public:
    HumNotch();
    bool setParameter(const std::string& id, double value) override;
    void process(AudioBuffer& buffer, const ProcessContext& context) override;

private:
    // The left channel's three sections in order, then the right channel's.
    std::array<BiquadState, 6> m_sections{};
};
