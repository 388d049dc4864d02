#include "addons/eq/resonance_suppressor.h"

#include <array>

namespace
{

enum Param
{
    Amount,
    TargetHz
};

constexpr AddonIdentity kIdentity{"resonance_suppressor", "Resonance Suppressor",
                                  "Tames narrow resonant buildup before the matcher analyzes tone.",
                                  "Best on harsh or ringy mixes with obvious resonant peaks.",
                                  ChainPreMatch};

constexpr std::array<AddonParamDef, 2> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.6, 0.01, ""},
    {"target_hz", "Frequency", kAddonParamContinuous, 800.0, 8000.0, 3200.0, 10.0, "Hz"},
}};

// A narrow band (k 0.4, Q 2.5) cut gently, half a dB per dB over, so a
// resonance is levelled before the matcher reads the tone.
constexpr DynamicBandCutLaw kLaw{.output = BandCutOutput::Band,
                                 .damping = 0.4,
                                 .attackMs = 3.0,
                                 .releaseMs = 80.0,
                                 .thresholdDb = -15.0,
                                 .thresholdPerAmountDb = 10.0,
                                 .slope = 0.5,
                                 .maxCutDb = 6.0};

} // namespace

ResonanceSuppressor::ResonanceSuppressor() : AddonBase(kIdentity, kTable)
{
}

void ResonanceSuppressor::process(AudioBuffer& buffer, const ProcessContext& context)
{
    CutBandWhenLoud(buffer, context, kLaw, Value(Amount), Value(TargetHz), m_cut);
}
