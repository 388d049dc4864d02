#include "addons/dynamics/vintage_compressor.h"

#include "addons/dynamics/soft_knee_compression.h"
#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/time_coefficient.h"
#include "engine/decibels.h"

#include <algorithm>
#include <array>

namespace
{

enum Param
{
    Amount,
    AttackMs,
    ReleaseMs,
    Mix
};

constexpr AddonIdentity kIdentity{
    "vintage_compressor", "Vintage Compressor",
    "Adds vintage-style compression character and density.",
    "Best when you want audible musical compression color, not transparency.",
    ChainPostMatchDynamics};

constexpr std::array<AddonParamDef, 4> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.45, 0.01, ""},
    {"attack_ms", "Attack", kAddonParamContinuous, 1.0, 100.0, 25.0, 1.0, "ms"},
    {"release_ms", "Release", kAddonParamContinuous, 20.0, 500.0, 180.0, 1.0, "ms"},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

} // namespace

VintageCompressor::VintageCompressor() : AddonBase(kIdentity, kTable)
{
}

// One amount sets threshold, ratio, make-up and wet share together; the
// follower reads the peak level, so it grabs attacks harder than an RMS one.
void VintageCompressor::process(AudioBuffer& buffer, const ProcessContext&)
{
    const double amount = ClampToRange(Value(Amount), 0.0, 1.0);
    if (amount <= 0.0 || !IsWholeStereoBuffer(buffer) || buffer.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double threshold = -10.0 - 14.0 * amount;
    const double ratio = 1.5 + 3.0 * amount;
    const double makeup = DbToGain(0.5 + 2.0 * amount);
    const double wet = ClampToRange((0.35 + 0.65 * amount) * Value(Mix), 0.0, 1.0);
    const double fs = buffer.sampleRate;
    const double attack = TimeCoefficient(std::max(Value(AttackMs), 1.0), fs);
    const double release = TimeCoefficient(std::max(Value(ReleaseMs), 10.0), fs);

    CompressSoftKnee(buffer.samples, {.level = FrameLevel::Peak,
                                      .attack = attack,
                                      .release = release,
                                      .thresholdDb = threshold,
                                      .ratio = ratio,
                                      .makeup = makeup,
                                      .mix = wet});
}
