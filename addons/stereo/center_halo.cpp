#include "addons/stereo/center_halo.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/held_start_delay.h"
#include "addons/kit/side_rewrite.h"
#include "engine/dsp/one_pole_low_pass.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace
{

enum Param
{
    Amount,
    CrossoverHz,
    HaloMs,
    Mix
};

constexpr AddonIdentity kIdentity{
    "center_halo", "Center Halo",
    "Keeps the center anchored while adding a soft decorrelated stereo bloom around it.",
    "Use when vocals or the main center image should stay firm, but the mix needs more "
    "surrounding air and dimension.",
    ChainStereoImage};

constexpr std::array<AddonParamDef, 4> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.4, 0.01, ""},
    {"crossover_hz", "Crossover", kAddonParamContinuous, 800.0, 6000.0, 1800.0, 10.0, "Hz"},
    {"halo_ms", "Halo", kAddonParamContinuous, 1.0, 15.0, 6.0, 0.1, "ms"},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

constexpr double kPresentShare = 0.42;
constexpr double kHaloGain = 0.65;

} // namespace

CenterHalo::CenterHalo() : AddonBase(kIdentity, kTable)
{
}

// The halo is made from the high mid but goes to the side only, with opposite
// signs left and right, so the centre keeps its value; a mono input gains a
// side by design.
void CenterHalo::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double fs = context.sampleRate;
    if (!IsWholeStereoBuffer(buffer) || fs <= 0.0)
    {
        return;
    }
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    const double m = ClampToRange(Value(Mix), 0.0, 1.0);
    if (a <= 0.0 || m <= 0.0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double crossover = ClampToRange(Value(CrossoverHz), 800.0, 6000.0);
    const double k = OnePoleCoefficient(ClampToRange(crossover, 120.0, 0.46 * fs), fs);
    HeldStartDelay delayedHigh(
        HeldStartDelay::Frames(Value(HaloMs), fs, buffer.samples.size() / 2));
    double lowState = 0.0;
    RewriteSide(buffer.samples, m,
                [&](double mid, double side)
                {
                    const double highMid = mid - OnePoleLowPassStep(lowState, mid, k);
                    return side +
                           kHaloGain * a * (delayedHigh.Step(highMid) - kPresentShare * highMid);
                });
}
