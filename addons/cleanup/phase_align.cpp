#include "addons/cleanup/phase_align.h"

#include "addons/cleanup/lag_correlation.h"
#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace
{

enum Param
{
    Amount,
    MaxDelayMs
};

constexpr AddonIdentity kIdentity{
    "phase_align", "Phase Align", "Reduces small inter-channel timing mismatch before matching.",
    "Use when stereo image feels smeared or partially out of alignment.", ChainPreMatch};

constexpr std::array<AddonParamDef, 2> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
    {"max_delay_ms", "Max Delay", kAddonParamContinuous, 0.1, 2.0, 1.0, 0.1, "ms"},
}};

// Fewer frames than this give too few products to trust a best lag.
constexpr std::size_t kMinimumFrames = 8;

// The lag of the largest correlation; among equal maxima the smallest lag, and
// a sum that is not finite (a NaN or infinite sample) never wins, so a track
// without a finite sum keeps lag 0.
std::ptrdiff_t BestLag(const std::vector<double>& correlations, std::ptrdiff_t maxLag)
{
    double best = -1e300;
    std::ptrdiff_t bestLag = 0;
    for (std::size_t index = 0; index < correlations.size(); ++index)
    {
        const double c = correlations[index];
        if (std::isfinite(c) && c > best)
        {
            best = c;
            bestLag = static_cast<std::ptrdiff_t>(index) - maxLag;
        }
    }
    return bestLag;
}

// right'[i] = right[i + shift], 0 where i + shift falls outside the track: a
// positive shift advances the right channel, a negative one delays it.
void ShiftRightChannel(std::vector<double>& samples, std::ptrdiff_t shift)
{
    const std::ptrdiff_t frames = static_cast<std::ptrdiff_t>(samples.size() / 2);
    const auto right = [&samples](std::ptrdiff_t frame) -> double&
    { return samples[static_cast<std::size_t>(2 * frame + 1)]; };
    if (shift > 0)
    {
        for (std::ptrdiff_t i = 0; i < frames; ++i)
        {
            right(i) = i + shift < frames ? right(i + shift) : 0.0;
        }
    }
    else
    {
        for (std::ptrdiff_t i = frames - 1; i >= 0; --i)
        {
            right(i) = i + shift >= 0 ? right(i + shift) : 0.0;
        }
    }
}

} // namespace

PhaseAlign::PhaseAlign() : AddonBase(kIdentity, kTable)
{
}

// The right channel moves by the lag at which it best matches the left,
// scaled by the amount; the left channel is the reference and never changes.
void PhaseAlign::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer) || buffer.samples.size() < 2 * kMinimumFrames ||
        context.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double maxDelayMs = ClampToRange(Value(MaxDelayMs), 0.1, 2.0);
    const std::ptrdiff_t maxLag =
        std::max<std::ptrdiff_t>(1, std::lround(maxDelayMs * 0.001 * context.sampleRate));
    const std::ptrdiff_t bestLag = BestLag(LagCorrelations(buffer.samples, maxLag), maxLag);
    const std::ptrdiff_t shift = std::lround(static_cast<double>(bestLag) * a);
    if (shift != 0)
    {
        ShiftRightChannel(buffer.samples, shift);
    }
}
