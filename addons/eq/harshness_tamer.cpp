#include "addons/eq/harshness_tamer.h"

#include <array>

namespace
{

enum Param
{
    Amount,
    TargetHz
};

constexpr AddonIdentity kIdentity{"harshness_tamer", "Harshness Tamer",
                                  "Reduces aggressive upper-mid and treble bite dynamically.",
                                  "Use on edgy masters that become fatiguing when pushed loud.",
                                  ChainPostMatchDynamics};

constexpr std::array<AddonParamDef, 2> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.6, 0.01, ""},
    {"target_hz", "Frequency", kAddonParamContinuous, 2000.0, 8000.0, 4500.0, 10.0, "Hz"},
}};

// The upper-mid band, wide (k 1.5) and quick, cut three dB for every four
// over the threshold.
constexpr DynamicBandCutLaw kLaw{.output = BandCutOutput::Band,
                                 .damping = 1.5,
                                 .attackMs = 2.0,
                                 .releaseMs = 50.0,
                                 .thresholdDb = -18.0,
                                 .thresholdPerAmountDb = 12.0,
                                 .slope = 0.75,
                                 .maxCutDb = 8.0};

} // namespace

HarshnessTamer::HarshnessTamer() : AddonBase(kIdentity, kTable)
{
}

void HarshnessTamer::process(AudioBuffer& buffer, const ProcessContext& context)
{
    CutBandWhenLoud(buffer, context, kLaw, Value(Amount), Value(TargetHz), m_cut);
}
