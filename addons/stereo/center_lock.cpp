#include "addons/stereo/center_lock.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/low_side_narrowing.h"
#include "engine/dsp/one_pole_low_pass.h"

#include <array>

namespace
{

enum Param
{
    Amount,
    FocusHz
};

constexpr AddonIdentity kIdentity{
    "center_lock", "Center Lock", "Pulls unstable low-mid side energy back toward the center.",
    "Best when a mix feels smeared or weak in the middle image.", ChainStereoImage};

constexpr std::array<AddonParamDef, 2> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
    {"focus_hz", "Focus", kAddonParamContinuous, 80.0, 500.0, 180.0, 1.0, "Hz"},
}};

} // namespace

CenterLock::CenterLock() : AddonBase(kIdentity, kTable)
{
}

// The whole frames are processed and a trailing odd value keeps its value. The
// focus range has no limit tied to the rate: it stays below the Nyquist
// frequency of every rate a run uses.
void CenterLock::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    const double fs = context.sampleRate;
    if (a <= 0.0 || buffer.samples.size() < 2 || fs <= 0.0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double k = OnePoleCoefficient(ClampToRange(Value(FocusHz), 80.0, 500.0), fs);
    NarrowLowSide(buffer.samples, m_sideLow, k, a);
}
