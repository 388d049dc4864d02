#include "addons/stereo/ambient_widener.h"

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
    DecorrelationMs,
    Mix
};

constexpr AddonIdentity kIdentity{
    "ambient_widener", "Ambient Widener",
    "Adds decorrelated high-band side bloom for a wider ambient feel without brute-force side "
    "gain.",
    "Use when the top-end image feels too dry or flat and you want more halo and spaciousness "
    "than a normal widener.",
    ChainStereoImage};

constexpr std::array<AddonParamDef, 4> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.45, 0.01, ""},
    {"crossover_hz", "Crossover", kAddonParamContinuous, 1200.0, 7000.0, 2200.0, 10.0, "Hz"},
    {"decorrelation_ms", "Decorrelation", kAddonParamContinuous, 1.0, 20.0, 8.0, 0.1, "ms"},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

// The delayed high side less a little of the present one: a comb that
// decorrelates the band instead of just raising it.
constexpr double kPresentShare = 0.38;
constexpr double kBloomGain = 0.85;

} // namespace

AmbientWidener::AmbientWidener() : AddonBase(kIdentity, kTable)
{
}

void AmbientWidener::process(AudioBuffer& buffer, const ProcessContext& context)
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
    const double crossover = ClampToRange(Value(CrossoverHz), 1200.0, 7000.0);
    const double k = OnePoleCoefficient(ClampToRange(crossover, 120.0, 0.46 * fs), fs);
    HeldStartDelay delayedHigh(
        HeldStartDelay::Frames(Value(DecorrelationMs), fs, buffer.samples.size() / 2));
    double lowState = 0.0;
    RewriteSide(buffer.samples, m,
                [&](double, double side)
                {
                    const double lowSide = OnePoleLowPassStep(lowState, side, k);
                    const double highSide = side - lowSide;
                    const double diff = delayedHigh.Step(highSide) - kPresentShare * highSide;
                    return highSide + lowSide + kBloomGain * a * diff;
                });
}
