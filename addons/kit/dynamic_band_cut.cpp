#include "addons/kit/dynamic_band_cut.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/level_follower.h"
#include "addons/kit/stereo_level.h"
#include "addons/kit/time_coefficient.h"
#include "engine/decibels.h"

#include <cstddef>
#include <vector>

// Under the threshold nothing is written, so the signal keeps every bit.
void CutBandWhenLoud(AudioBuffer& buffer, const ProcessContext& context,
                     const DynamicBandCutLaw& law, double amount, double frequencyHz,
                     DynamicBandCutState& state)
{
    const double a = ClampToRange(amount, 0.0, 1.0);
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer) || context.sampleRate <= 0 ||
        buffer.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const StateVariableCoefficients c =
        StateVariableCoefficientsFor(frequencyHz, law.damping, context.sampleRate);
    const double attack = TimeCoefficient(law.attackMs, buffer.sampleRate);
    const double release = TimeCoefficient(law.releaseMs, buffer.sampleRate);
    const double thresholdDb = law.thresholdDb - law.thresholdPerAmountDb * a;
    const double deepestCutDb = -law.maxCutDb * a;
    const double deepestGain = DbToGain(deepestCutDb);
    // A follower this far under the threshold's level is under it in dB too,
    // whatever the rounding of the logarithm, which it is spared.
    const double surelyUnder = DbToGain(thresholdDb) * (1.0 - 1e-9);
    const bool band = law.output == BandCutOutput::Band;

    std::vector<double>& x = buffer.samples;
    for (size_t i = 0; i < x.size(); i += 2)
    {
        const StateVariableOutputs left = StateVariableStep(state.filters[0], x[i], c);
        const StateVariableOutputs right = StateVariableStep(state.filters[1], x[i + 1], c);
        const double sL = band ? left.band : left.high;
        const double sR = band ? right.band : right.high;
        if (FollowLevel(state.envelope, StereoPeakLevel(sL, sR), attack, release) <= surelyUnder)
        {
            continue;
        }
        const double overDb = DecibelLevel(state.envelope) - thresholdDb;
        if (overDb > 0.0)
        {
            const double cutDb = -law.slope * overDb;
            const double g = cutDb <= deepestCutDb ? deepestGain : DbToGain(cutDb);
            x[i] += (g - 1.0) * sL;
            x[i + 1] += (g - 1.0) * sR;
        }
    }
}
