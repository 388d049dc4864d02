#include "addons/dynamics/upward_detail.h"

#include "addons/dynamics/detail_lift.h"

#include <array>

namespace
{

enum Param
{
    Amount,
    LiftDb,
    Mix
};

constexpr AddonIdentity kIdentity{
    "upward_detail", "Upward Detail",
    "Lifts low-level detail in a more controlled way than the detail extractor.",
    "Use when the master needs clarity and texture without extra sharpness.",
    ChainPostMatchDynamics};

constexpr std::array<AddonParamDef, 3> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
    {"lift_db", "Lift", kAddonParamContinuous, 0.0, 8.0, 4.0, 0.1, "dB"},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

// Gentler than the detail extractor: an RMS follower with slower times, 0.35
// dB of lift per dB under a threshold that the amount raises from -30 to -22
// dB.
constexpr DetailLifterVoicing kVoicing{.level = FrameLevel::Rms,
                                       .attackMs = 12.0,
                                       .releaseMs = 220.0,
                                       .thresholdAtZeroDb = -30.0,
                                       .thresholdPerAmountDb = 8.0,
                                       .liftPerDb = 0.35};

} // namespace

UpwardDetail::UpwardDetail() : AddonBase(kIdentity, kTable)
{
}

// Quiet detail is lifted up to amount * lift_db; see LiftQuietDetail.
void UpwardDetail::process(AudioBuffer& buffer, const ProcessContext&)
{
    LiftQuietDetail(buffer, kVoicing, Value(Amount), Value(LiftDb), Value(Mix));
}
