#include "addons/saturation/sonic_maximizer.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/peak_rescale.h"
#include "addons/saturation/maximizer_core.h"
#include "engine/decibels.h"
#include "engine/stages/limiter_input.h"

#include <algorithm>
#include <array>

namespace
{

enum Param
{
    Amount,
    LoContour,
    Process,
    ReduceFatigue
};

constexpr AddonIdentity kIdentity{"sonic_maximizer", "Maximizer",
                                  "Adds contour and clarity with a smile-shaped enhancement "
                                  "curve.",
                                  "Best for broad hi-fi enhancement when subtlety is acceptable.",
                                  ChainPostMatchTone};

constexpr std::array<AddonParamDef, 4> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
    {"lo_contour", "Lo Contour", kAddonParamContinuous, 0.0, 10.0, 4.0, 0.1, ""},
    {"process", "Process", kAddonParamContinuous, 0.0, 10.0, 4.0, 0.1, ""},
    {"reduce_fatigue", "Reduce Fatigue", kAddonParamToggle, 0.0, 1.0, 1.0, 1.0, ""},
}};

// Under this input peak the track counts as silence and keeps its level.
constexpr double kSilentPeak = 1e-9;
// Lifts under this do nothing audible; the buffer is then left alone.
constexpr double kSmallestLift = 1e-6;

} // namespace

SonicMaximizerAddon::SonicMaximizerAddon() : AddonBase(kIdentity, kTable)
{
}

// Value by value: an odd count sends its last value through the left channel.
void SonicMaximizerAddon::process(AudioBuffer& buffer, const ProcessContext& context)
{
    std::vector<double>& samples = buffer.samples;
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    if (samples.size() < 2 || a <= 0.0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double inPeak = LargestMagnitude(samples);

    // A rate of 0 or less takes the core's own fallback values.
    MaximizerCore core;
    core.channelStates.resize(2);
    core.sampleRate = context.sampleRate;
    core.channelCount = 2;
    core.reduceFatigue = IsOn(ReduceFatigue);
    core.prepare();
    core.contourAmount = ClampToRange(a * Value(LoContour), 0.0, 10.0);
    core.processAmount = ClampToRange(a * Value(Process), 0.0, 10.0);

    // The trim makes down 70 % of the larger of the two quiet-level lifts.
    const double highShare = core.reduceFatigue ? 0.65 : 1.0;
    const double lowShare = core.reduceFatigue ? 0.8 : 1.0;
    core.trim = DbToGain(-0.7 * std::max(0.45 * core.processAmount * highShare,
                                         0.55 * core.contourAmount * lowShare));

    if (core.contourAmount >= kSmallestLift || core.processAmount >= kSmallestLift)
    {
        core.processBuffer(samples); // in place: the same values as a copy and back
    }
    RescaleToInputPeak(samples, inPeak, kSilentPeak);
}
