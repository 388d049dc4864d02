#include "addons/dynamics/standard_compressor.h"

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
    ThresholdDb,
    Ratio,
    AttackMs,
    ReleaseMs,
    MakeupDb,
    Mix
};

constexpr AddonIdentity kIdentity{
    "standard_compressor", "Standard Compressor",
    "Straightforward stereo-linked compression with explicit threshold and ratio controls.",
    "Use when you want a normal compressor workflow instead of a vintage macro-style one.",
    ChainPostMatchDynamics};

constexpr std::array<AddonParamDef, 6> kTable{{
    {"threshold_db", "Threshold", kAddonParamContinuous, -36.0, 0.0, -18.0, 0.1, "dB"},
    {"ratio", "Ratio", kAddonParamContinuous, 1.0, 20.0, 3.0, 0.1, ":1"},
    {"attack_ms", "Attack", kAddonParamContinuous, 1.0, 100.0, 15.0, 1.0, "ms"},
    {"release_ms", "Release", kAddonParamContinuous, 10.0, 500.0, 120.0, 1.0, "ms"},
    {"makeup_db", "Makeup", kAddonParamContinuous, -6.0, 12.0, 0.0, 0.1, "dB"},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

} // namespace

StandardCompressor::StandardCompressor() : AddonBase(kIdentity, kTable)
{
}

// There is no early return on the mix: at mix 0 the gain mix writes every value
// back exactly as it came in.
void StandardCompressor::process(AudioBuffer& buffer, const ProcessContext&)
{
    if (!IsWholeStereoBuffer(buffer) || buffer.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double fs = buffer.sampleRate;
    const double attack = TimeCoefficient(std::max(Value(AttackMs), 1.0), fs);
    const double release = TimeCoefficient(std::max(Value(ReleaseMs), 10.0), fs);
    CompressSoftKnee(buffer.samples, {.level = FrameLevel::Rms,
                                      .attack = attack,
                                      .release = release,
                                      .thresholdDb = ClampToRange(Value(ThresholdDb), -36.0, 0.0),
                                      .ratio = ClampToRange(Value(Ratio), 1.0, 20.0),
                                      .makeup = DbToGain(Value(MakeupDb)),
                                      .mix = ClampToRange(Value(Mix), 0.0, 1.0)});
}
