#include "addons/prelimiter/loudness_driver.h"

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
    "loudness_driver", "Loudness Driver",
    "Feeds the limiter with controlled saturation for denser loudness.",
    "Best before Stage 4 when you want louder results with less limiter strain.", ChainPreLimiter};

constexpr std::array<AddonParamDef, 3> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.4, 0.01, ""},
    {"drive_db", "Drive", kAddonParamContinuous, 0.0, 12.0, 4.0, 0.1, "dB"},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

constexpr double kTrimShare = 0.72;
// A gentle curve at half the drive under the main one: it keeps some slope
// where the main curve has flattened, so loud passages stay dense, not flat.
constexpr double kMainShare = 0.85;
constexpr double kGentleShare = 0.15;
constexpr double kGentleDrive = 0.5;

} // namespace

LoudnessDriver::LoudnessDriver() : AddonBase(kIdentity, kTable)
{
}

// Value by value, an odd trailing value included. There is no exit on the mix:
// at mix 0 every value is written back as it came in.
void LoudnessDriver::process(AudioBuffer& buffer, const ProcessContext&)
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
        const double driven = drive.gain * x;
        const double y =
            (kGentleShare * std::tanh(kGentleDrive * driven) + kMainShare * std::tanh(driven)) *
            drive.trim;
        x = MixWetDry(y, x, m);
    }
}
