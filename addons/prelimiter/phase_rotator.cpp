#include "addons/prelimiter/phase_rotator.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/wet_dry_mix.h"
#include "addons/prelimiter/first_order_all_pass.h"

#include <array>

namespace
{

enum Param
{
    Amount,
    FrequencyHz,
    Mix
};

constexpr AddonIdentity kIdentity{
    "phase_rotator", "Phase Rotator",
    "Rotates broadband phase to smooth asymmetric peaks before the limiter reacts to them.",
    "Use when sharp asymmetric peaks make final limiting work harder than the ear suggests they "
    "should.",
    ChainPreLimiter};

constexpr std::array<AddonParamDef, 3> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.6, 0.01, ""},
    {"frequency_hz", "Focus", kAddonParamContinuous, 40.0, 400.0, 120.0, 1.0, "Hz"},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

// The second section turns its phase higher up, where its coefficient is this
// share of the first one's; both stay clear of the unit circle.
constexpr double kSecondSectionShare = 0.55;
constexpr double kLargestCoefficient = 0.98;

// The two all-pass sections of one channel, the second fed by the first.
struct Rotation
{
    FirstOrderAllPass first;
    FirstOrderAllPass second;

    double Step(double x, double c1, double c2) { return second.Step(first.Step(x, c1), c2); }
};

} // namespace

PhaseRotator::PhaseRotator() : AddonBase(kIdentity, kTable)
{
}

// A lopsided peak is made of partials that happen to line up; turning their
// phases by different amounts spreads them, so the peak falls while every
// partial keeps its level. The rotated signal is blended with the dry one by
// amount times mix.
void PhaseRotator::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double fs = context.sampleRate;
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    const double m = ClampToRange(Value(Mix), 0.0, 1.0);
    if (!IsWholeStereoBuffer(buffer) || fs <= 0.0 || a <= 0.0 || m <= 0.0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double c = AllPassCoefficient(ClampToRange(Value(FrequencyHz), 40.0, 400.0), fs);
    const double c1 = ClampToRange(c, -kLargestCoefficient, kLargestCoefficient);
    const double c2 =
        ClampToRange(kSecondSectionShare * c, -kLargestCoefficient, kLargestCoefficient);
    const double wet = a * m;
    std::array<Rotation, 2> channels{};
    std::vector<double>& samples = buffer.samples;
    for (size_t i = 0; i + 1 < samples.size(); i += 2)
    {
        for (size_t channel = 0; channel < 2; ++channel)
        {
            double& x = samples[i + channel];
            x = MixWetDry(channels[channel].Step(x, c1, c2), x, wet);
        }
    }
}
