#include "addons/prelimiter/peak_clipper.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/drive_pair.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/wet_dry_mix.h"
#include "addons/prelimiter/soft_knee_clip.h"

#include <array>

namespace
{

enum Param
{
    Amount,
    DriveDb,
    Knee,
    Mix
};

constexpr AddonIdentity kIdentity{"peak_clipper", "Peak Clipper",
                                  "Clips transient peaks before limiting to reduce limiter "
                                  "workload.",
                                  "Best when chasing loudness and wanting less limiter pumping.",
                                  ChainPreLimiter};

constexpr std::array<AddonParamDef, 4> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.35, 0.01, ""},
    {"drive_db", "Drive", kAddonParamContinuous, 0.0, 12.0, 3.0, 0.1, "dB"},
    {"knee", "Knee", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

constexpr double kTrimShare = 0.85;
// The knee control spans knee widths up to half of full scale.
constexpr double kWidestKnee = 0.5;

} // namespace

PeakClipper::PeakClipper() : AddonBase(kIdentity, kTable)
{
}

// Whole frames only: an odd number of values leaves the buffer as it is. There
// is no exit on the mix: at mix 0 every value is written back as it came in.
void PeakClipper::process(AudioBuffer& buffer, const ProcessContext&)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer))
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double m = ClampToRange(Value(Mix), 0.0, 1.0);
    const DrivePair drive = DriveAndTrim(a, Value(DriveDb), kTrimShare);
    const double kneeWidth = kWidestKnee * Value(Knee);
    for (double& x : buffer.samples)
    {
        x = MixWetDry(SoftKneeClip(drive.gain * x, kneeWidth) * drive.trim, x, m);
    }
}
