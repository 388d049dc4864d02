#include "addons/prelimiter/soft_clipper.h"

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
    Mix
};

constexpr AddonIdentity kIdentity{
    "soft_clipper", "Soft Clipper",
    "Applies smooth clipping before the limiter for rounded peak control.",
    "Use when you want gentler loudness shaping than a peak clipper.", ChainPreLimiter};

constexpr std::array<AddonParamDef, 3> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.4, 0.01, ""},
    {"drive_db", "Drive", kAddonParamContinuous, 0.0, 10.0, 2.5, 0.1, "dB"},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

constexpr double kTrimShare = 0.7;

} // namespace

SoftClipper::SoftClipper() : AddonBase(kIdentity, kTable)
{
}

// Value by value, an odd trailing value included. There is no exit on the mix:
// at mix 0 every value is written back as it came in.
void SoftClipper::process(AudioBuffer& buffer, const ProcessContext&)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    if (buffer.samples.size() < 2 || a <= 0.0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double m = ClampToRange(Value(Mix), 0.0, 1.0);
    const DrivePair drive = DriveAndTrim(a, Value(DriveDb), kTrimShare);
    for (double& x : buffer.samples)
    {
        x = MixWetDry(std::tanh(drive.gain * x) * drive.trim, x, m);
    }
}
