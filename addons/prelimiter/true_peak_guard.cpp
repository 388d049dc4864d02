#include "addons/prelimiter/true_peak_guard.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/wet_dry_mix.h"
#include "engine/decibels.h"
#include "engine/stages/lookahead_limiter.h"

#include <algorithm>
#include <array>
#include <climits>

namespace
{

enum Param
{
    CeilingDbtp,
    Strength,
    Mix
};

constexpr AddonIdentity kIdentity{
    "true_peak_guard", "True Peak Guard",
    "Applies conservative true-peak conditioning before the final limiter to reduce overs and "
    "intersample peak stress.",
    "Use when sharp peak structure makes final limiting harsher than necessary, especially on "
    "dense bright material.",
    ChainPreLimiter};

constexpr std::array<AddonParamDef, 3> kTable{{
    {"ceiling_dbtp", "Ceiling", kAddonParamContinuous, -3.0, 0.0, -1.0, 0.1, "dBTP"},
    {"strength", "Strength", kAddonParamContinuous, 0.0, 1.0, 0.7, 0.01, ""},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
}};

// Below this rate the peaks between samples need four times oversampling to be
// seen; from it on twice is enough.
constexpr int kHighRate = 96000;

int OversampleFactor(int contextRate)
{
    return contextRate < kHighRate ? 4 : 2;
}

} // namespace

TruePeakGuard::TruePeakGuard() : AddonBase(kIdentity, kTable)
{
}

// The engine's look-ahead limiter on an oversampled copy, mixed back into the
// track. The limiter refuses what the guard must not throw on, so the guard
// keeps such buffers away from it: it leaves the buffer as it is when either
// rate is 0 or less, or when the oversampled rate would not fit an int, and
// with an odd number of values it limits the whole frames and keeps the
// trailing value.
void TruePeakGuard::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double strength = ClampToRange(Value(Strength), 0.0, 1.0);
    const double m = ClampToRange(Value(Mix), 0.0, 1.0);
    if (buffer.samples.size() < 2 || strength <= 0.0 || m <= 0.0)
    {
        return;
    }
    const int factor = OversampleFactor(context.sampleRate);
    if (context.sampleRate <= 0 || buffer.sampleRate <= 0 || buffer.sampleRate > INT_MAX / factor)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const LookaheadLimiter limiter{DbToGain(ClampToRange(Value(CeilingDbtp), -3.0, 0.0)), factor,
                                   strength};
    AudioBuffer limited;
    if (buffer.samples.size() % 2 == 0)
    {
        limited = limiter.Process(buffer);
    }
    else
    {
        AudioBuffer frames;
        frames.sampleRate = buffer.sampleRate;
        frames.samples.assign(buffer.samples.begin(), buffer.samples.end() - 1);
        limited = limiter.Process(frames);
    }
    // At mix 1 every finite value would come out as the limited one, so the
    // limited copy takes the track's place instead of a second pass over both.
    if (m == 1.0 && limited.samples.size() == buffer.samples.size())
    {
        buffer.samples.swap(limited.samples);
        return;
    }
    const size_t count = std::min(limited.samples.size(), buffer.samples.size());
    for (size_t i = 0; i < count; ++i)
    {
        buffer.samples[i] = MixWetDry(limited.samples[i], buffer.samples[i], m);
    }
}
