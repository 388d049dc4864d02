#include "addons/prelimiter/asymmetric_clipper.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/drive_pair.h"
#include "addons/kit/wet_dry_mix.h"

#include <array>
#include <cmath>

namespace
{

enum Param
{
    Amount,
    DriveDb,
    Asymmetry,
    Mix
};

constexpr AddonIdentity kIdentity{
    "asymmetric_clipper", "Asymmetric Clipper",
    "Clips positive and negative peaks differently for a more colored pre-limiter peak shape.",
    "Use when you want a more characterful peak conditioner than a symmetric clipper before "
    "final limiting.",
    ChainPreLimiter};

constexpr std::array<AddonParamDef, 4> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.4, 0.01, ""},
    {"drive_db", "Drive", kAddonParamContinuous, 0.0, 12.0, 3.5, 0.1, "dB"},
    {"asymmetry", "Asymmetry", kAddonParamContinuous, 0.0, 1.0, 0.25, 0.01, ""},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

constexpr double kTrimShare = 0.82;
// How much harder the positive half is driven, and how much softer the
// negative half, at full amount and asymmetry.
constexpr double kPositiveLift = 0.65;
constexpr double kNegativeEase = 0.45;

} // namespace

AsymmetricClipper::AsymmetricClipper() : AddonBase(kIdentity, kTable)
{
}

// Each half of the wave has its own tanh curve, normalised so that both reach
// the trimmed full scale at ±1: the halves differ in how early they bend, not
// in where they end. Works value by value, so an odd trailing value is shaped
// too.
void AsymmetricClipper::process(AudioBuffer& buffer, const ProcessContext&)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    const double m = ClampToRange(Value(Mix), 0.0, 1.0);
    if (buffer.samples.size() < 2 || a <= 0.0 || m <= 0.0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const DrivePair drive = DriveAndTrim(a, Value(DriveDb), kTrimShare);
    const double s = ClampToRange(Value(Asymmetry), 0.0, 1.0);
    const double positiveK = (1.0 + kPositiveLift * a * s) * drive.gain;
    const double negativeK = (1.0 - kNegativeEase * a * s) * drive.gain;
    const double positiveFullScale = std::tanh(positiveK);
    const double negativeFullScale = std::tanh(negativeK);
    for (double& x : buffer.samples)
    {
        const bool positive = x >= 0.0;
        const double k = positive ? positiveK : negativeK;
        const double y =
            std::tanh(k * x) / (positive ? positiveFullScale : negativeFullScale) * drive.trim;
        x = MixWetDry(y, x, m);
    }
}
