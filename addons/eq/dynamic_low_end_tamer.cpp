#include "addons/eq/dynamic_low_end_tamer.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/level_follower.h"
#include "addons/kit/stereo_level.h"
#include "addons/kit/time_coefficient.h"
#include "engine/decibels.h"
#include "engine/dsp/one_pole_low_pass.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace
{

enum Param
{
    Amount,
    CrossoverHz
};

constexpr AddonIdentity kIdentity{"dynamic_low_end_tamer", "Dynamic Low End Tamer",
                                  "Controls unstable low-end bloom before the matcher sees it.",
                                  "Use on boomy or inconsistent bass-heavy sources.",
                                  ChainPreMatch};

constexpr std::array<AddonParamDef, 2> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.6, 0.01, ""},
    {"crossover_hz", "Crossover", kAddonParamContinuous, 60.0, 250.0, 140.0, 1.0, "Hz"},
}};

constexpr double kMaxCutDb = 5.0;
constexpr double kCutPerDbOver = 0.6;

} // namespace

DynamicLowEndTamer::DynamicLowEndTamer() : AddonBase(kIdentity, kTable)
{
}

// Only the one-pole's low band is turned down, and only while its level stands
// over the threshold; what lies above the crossover passes as it came. Every
// whole frame is processed, and a trailing odd value is left as it is.
void DynamicLowEndTamer::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    if (a <= 0.0 || buffer.samples.size() < 2 || context.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double fs = context.sampleRate;
    const double k = OnePoleCoefficient(ClampToRange(Value(CrossoverHz), 60.0, 250.0), fs);
    const double attack = TimeCoefficient(8.0, fs);
    const double release = TimeCoefficient(140.0, fs);
    const double thresholdDb = (1.0 - a) * 4.0 - 18.0;
    const double deepestCutDb = -kMaxCutDb * a;

    std::vector<double>& x = buffer.samples;
    for (size_t i = 0; i + 1 < x.size(); i += 2)
    {
        const double yL = OnePoleLowPassStep(m_lowPass[0], x[i], k);
        const double yR = OnePoleLowPassStep(m_lowPass[1], x[i + 1], k);
        FollowLevel(m_envelope, StereoRmsLevel(yL, yR), attack, release);
        const double overDb = DecibelLevel(m_envelope) - thresholdDb;
        if (overDb > 0.0)
        {
            // (x - y) + G y written as x + (G - 1) y: the high band is not
            // rounded on its way through
            const double g = DbToGain(std::max(deepestCutDb, -kCutPerDbOver * overDb));
            x[i] += (g - 1.0) * yL;
            x[i + 1] += (g - 1.0) * yR;
        }
    }
}
