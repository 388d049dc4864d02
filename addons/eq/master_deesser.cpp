#include "addons/eq/master_deesser.h"

#include <array>

namespace
{

enum Param
{
    Amount,
    FrequencyHz
};

constexpr AddonIdentity kIdentity{"master_deesser", "Master De-Esser",
                                  "Controls excessive sibilance and splashy highs on the full mix.",
                                  "Best when vocals or cymbals get spitty after matching.",
                                  ChainPostMatchDynamics};

constexpr std::array<AddonParamDef, 2> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.6, 0.01, ""},
    {"frequency_hz", "Frequency", kAddonParamContinuous, 4000.0, 10000.0, 6000.0, 100.0, "Hz"},
}};

// Everything above the frequency (the high output of a resonant split, k 0.5)
// is cut, fast enough to catch a single sibilant.
constexpr DynamicBandCutLaw kLaw{.output = BandCutOutput::High,
                                 .damping = 0.5,
                                 .attackMs = 0.5,
                                 .releaseMs = 40.0,
                                 .thresholdDb = -20.0,
                                 .thresholdPerAmountDb = 15.0,
                                 .slope = 0.85,
                                 .maxCutDb = 12.0};

} // namespace

MasterDeEsser::MasterDeEsser() : AddonBase(kIdentity, kTable)
{
}

void MasterDeEsser::process(AudioBuffer& buffer, const ProcessContext& context)
{
    CutBandWhenLoud(buffer, context, kLaw, Value(Amount), Value(FrequencyHz), m_cut);
}
