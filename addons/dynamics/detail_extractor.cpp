#include "addons/dynamics/detail_extractor.h"

#include "addons/dynamics/detail_lift.h"

#include <array>

namespace
{

enum Param
{
    Amount,
    DetailLiftDb,
    Mix
};

constexpr AddonIdentity kIdentity{
    "detail_extractor", "Detail Extractor", "Lifts fine texture and upper detail after matching.",
    "Use sparingly on dull material that needs extra articulation.", ChainPostMatchDynamics};

constexpr std::array<AddonParamDef, 3> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
    {"detail_lift_db", "Lift", kAddonParamContinuous, 0.0, 12.0, 6.0, 0.1, "dB"},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

// A fast peak follower: half a dB of lift per dB under a threshold that the
// amount raises from -24 to -14 dB.
constexpr DetailLifterVoicing kVoicing{.level = FrameLevel::Peak,
                                       .attackMs = 5.0,
                                       .releaseMs = 150.0,
                                       .thresholdAtZeroDb = -24.0,
                                       .thresholdPerAmountDb = 10.0,
                                       .liftPerDb = 0.5};

} // namespace

DetailExtractor::DetailExtractor() : AddonBase(kIdentity, kTable)
{
}

// Quiet texture is lifted up to amount * detail_lift_db; see LiftQuietDetail.
void DetailExtractor::process(AudioBuffer& buffer, const ProcessContext&)
{
    LiftQuietDetail(buffer, kVoicing, Value(Amount), Value(DetailLiftDb), Value(Mix));
}
